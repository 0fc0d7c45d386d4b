<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Quirna</name>
    <message>
        <source>添加条目</source>
        <translation>Add Entry</translation>
    </message>
    <message>
        <source>添加子条目</source>
        <translation>Add Child Entry</translation>
    </message>
    <message>
        <source>添加上一级</source>
        <translation>Add Entry Above</translation>
    </message>
    <message>
        <source>设置目标</source>
        <translation>Set Destination</translation>
    </message>
    <message>
        <source>重命名</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>需要保存后才能添设置目标</source>
        <translation>The document must be saved before the destination can be set</translation>
    </message>
    <message>
        <source>确定要将选定</source>
        <translation>Point the selected entry at the page shown?</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>标签</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>页面L</source>
        <translation>Page</translation>
    </message>
</context>
</TS>
