<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Quirna</name>
    <message><source>有误，无法处理</source><translation>is faulty and can&apos;t be processed</translation></message>
    <message><source>已加密，无法处理</source><translation>is encrypted and can&apos;t be processed</translation></message>
    <message><source>不支持此文件格式</source><translation>This file format is not supported</translation></message>
    <message><source>参数有误</source><translation>Invalid parameters</translation></message>
    <message><source>没有可写入的页面</source><translation>No pages to write</translation></message>
    <message><source>写入失败</source><translation>The file could not be written</translation></message>
    <message><source>文档没有这一级的书签</source><translation>The document has no outline items at this level</translation></message>
</context>
</TS>
