<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Quirna</name>
    <message>
        <source>链接</source>
        <translation>链接</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>页面</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>邮箱</translation>
    </message>
    <message>
        <source>Website</source>
        <translation>网站</translation>
    </message>
    <message>
        <source>Page:</source>
        <translation>页面：</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>邮箱：</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>网站：</translation>
    </message>
</context>
</TS>
