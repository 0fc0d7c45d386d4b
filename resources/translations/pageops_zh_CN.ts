<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Quirna</name>
    <message>
        <source>不能剪切了</source>
        <translation>不能剪切了</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>旋转</translation>
    </message>
    <message>
        <source>提取</source>
        <translation>提取</translation>
    </message>
</context>
</TS>
