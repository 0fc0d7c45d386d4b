<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Quirna</name>
    <message><source>我的签名</source><translation>我的签名</translation></message>
    <message><source>键入</source><translation>键入</translation></message>
    <message><source>绘制</source><translation>绘制</translation></message>
    <message><source>图片</source><translation>图片</translation></message>
    <message><source>字体</source><translation>字体</translation></message>
    <message><source>颜色</source><translation>颜色</translation></message>
    <message><source>宽度</source><translation>宽度</translation></message>
    <message><source>完成</source><translation>完成</translation></message>
    <message><source>关闭</source><translation>关闭</translation></message>
    <message><source>清除</source><translation>清除</translation></message>
    <message><source>选择</source><translation>选择</translation></message>
    <message><source>无法保存签名图片。</source><translation>无法保存签名图片。</translation></message>
    <message><source>签名库已损坏，已移至 %1，已新建空的签名库。</source><translation>签名库已损坏，已移至 %1，已新建空的签名库。</translation></message>
</context>
</TS>
