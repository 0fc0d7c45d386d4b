<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Quirna</name>
    <message>
        <source>此链接不是网页或邮件地址，已拒绝打开</source>
        <translation>此链接不是网页或邮件地址，已拒绝打开</translation>
    </message>
    <message>
        <source>无法打开文件</source>
        <translation>无法打开文件</translation>
    </message>
    <message>
        <source>无法打开此文件，它可能已损坏或不是 PDF 文件。</source>
        <translation>无法打开此文件，它可能已损坏或不是 PDF 文件。</translation>
    </message>
    <message>
        <source>请输入文档密码：</source>
        <translation>请输入文档密码：</translation>
    </message>
    <message>
        <source>密码错误，请重新输入：</source>
        <translation>密码错误，请重新输入：</translation>
    </message>
    <message>
        <source>缩略图</source>
        <translation>缩略图</translation>
    </message>
    <message>
        <source>第 %1 页</source>
        <translation>第 %1 页</translation>
    </message>
</context>
</TS>
