<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Quirna</name>
    <message>
        <source>此链接不是网页或邮件地址，已拒绝打开</source>
        <translation>This link is not a web or mail address and was not opened</translation>
    </message>
    <message>
        <source>无法打开文件</source>
        <translation>Cannot Open File</translation>
    </message>
    <message>
        <source>无法打开此文件，它可能已损坏或不是 PDF 文件。</source>
        <translation>This file cannot be opened. It may be damaged or not a PDF file.</translation>
    </message>
    <message>
        <source>请输入文档密码：</source>
        <translation>Enter the document password:</translation>
    </message>
    <message>
        <source>密码错误，请重新输入：</source>
        <translation>Wrong password. Enter it again:</translation>
    </message>
    <message>
        <source>缩略图</source>
        <translation>Thumbnails</translation>
    </message>
    <message>
        <source>第 %1 页</source>
        <translation>Page %1</translation>
    </message>
</context>
</TS>
