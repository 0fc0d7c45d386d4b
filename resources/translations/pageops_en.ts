<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Quirna</name>
    <message>
        <source>不能剪切了</source>
        <translation>Cannot cut any more</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>提取</source>
        <translation>Extract</translation>
    </message>
</context>
</TS>
