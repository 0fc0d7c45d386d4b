<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Quirna</name>
    <message>
        <source>无法打开签名库（%1）。已保存的签名暂不可用。</source>
        <translation>无法打开签名库（%1）。已保存的签名暂不可用。</translation>
    </message>
    <message>
        <source>无法保存签名库（%1）。</source>
        <translation>无法保存签名库（%1）。</translation>
    </message>
</context>
</TS>
