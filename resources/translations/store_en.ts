<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Quirna</name>
    <message>
        <source>无法打开签名库（%1）。已保存的签名暂不可用。</source>
        <translation>The signature store could not be opened (%1). Saved signatures are not available.</translation>
    </message>
    <message>
        <source>无法保存签名库（%1）。</source>
        <translation>The signature store could not be saved (%1).</translation>
    </message>
</context>
</TS>
