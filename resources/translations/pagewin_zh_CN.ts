<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Quirna</name>
    <message><source>按书签拆分</source><translation>按书签拆分</translation></message>
    <message><source>级别</source><translation>级别</translation></message>
    <message><source>添加文件</source><translation>添加文件</translation></message>
    <message><source>添加文件夹</source><translation>添加文件夹</translation></message>
</context>
</TS>
