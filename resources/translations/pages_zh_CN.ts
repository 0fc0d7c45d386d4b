<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Quirna</name>
    <message><source>文档没有这一级的书签</source><translation>文档没有这一级的书签</translation></message>
</context>
</TS>
