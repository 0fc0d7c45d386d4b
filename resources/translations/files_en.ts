<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Quirna</name>
    <message>
        <source>无法打开文件“%1”。</source>
        <translation>“%1” cannot be opened.</translation>
    </message>
    <message>
        <source>该文件不存在或无法读取。</source>
        <translation>The file does not exist or cannot be read.</translation>
    </message>
    <message>
        <source>该文件是空的。</source>
        <translation>The file is empty.</translation>
    </message>
    <message>
        <source>该文件不是 PDF 文档。</source>
        <translation>The file is not a PDF document.</translation>
    </message>
    <message>
        <source>该文件已损坏，没有可以读取的页面。</source>
        <translation>The file is damaged: none of its pages can be read.</translation>
    </message>
    <message>
        <source>所有文件</source>
        <translation>All files</translation>
    </message>
    <message>
        <source>第 %1 页太大，无法转换为图片</source>
        <translation>Page %1 is too large to be made into an image</translation>
    </message>
</context>
</TS>
