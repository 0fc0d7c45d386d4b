<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Quirna</name>
    <message>
        <source>无法打开文件“%1”。</source>
        <translation>无法打开文件“%1”。</translation>
    </message>
    <message>
        <source>该文件不存在或无法读取。</source>
        <translation>该文件不存在或无法读取。</translation>
    </message>
    <message>
        <source>该文件是空的。</source>
        <translation>该文件是空的。</translation>
    </message>
    <message>
        <source>该文件不是 PDF 文档。</source>
        <translation>该文件不是 PDF 文档。</translation>
    </message>
    <message>
        <source>该文件已损坏，没有可以读取的页面。</source>
        <translation>该文件已损坏，没有可以读取的页面。</translation>
    </message>
    <message>
        <source>所有文件</source>
        <translation>所有文件</translation>
    </message>
    <message>
        <source>第 %1 页太大，无法转换为图片</source>
        <translation>第 %1 页太大，无法转换为图片</translation>
    </message>
</context>
</TS>
