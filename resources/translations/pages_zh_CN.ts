<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Quirna</name>
    <message>
        <source>有误，无法处理</source>
        <translation>有误，无法处理</translation>
    </message>
    <message>
        <source>已加密，无法处理</source>
        <translation>已加密，无法处理</translation>
    </message>
    <message>
        <source>不支持此文件格式</source>
        <translation>不支持此文件格式</translation>
    </message>
    <message>
        <source>参数有误</source>
        <translation>参数有误</translation>
    </message>
    <message>
        <source>没有可写入的页面</source>
        <translation>没有可写入的页面</translation>
    </message>
    <message>
        <source>写入失败</source>
        <translation>写入失败</translation>
    </message>
    <message>
        <source>文档没有这一级的书签</source>
        <translation>文档没有这一级的书签</translation>
    </message>
</context>
</TS>
