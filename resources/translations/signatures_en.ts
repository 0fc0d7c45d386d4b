<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Quirna</name>
    <message><source>我的签名</source><translation>My Signatures</translation></message>
    <message><source>键入</source><translation>Type</translation></message>
    <message><source>绘制</source><translation>Draw</translation></message>
    <message><source>图片</source><translation>Image</translation></message>
    <message><source>字体</source><translation>Font</translation></message>
    <message><source>颜色</source><translation>Color</translation></message>
    <message><source>宽度</source><translation>Width</translation></message>
    <message><source>完成</source><translation>Done</translation></message>
    <message><source>关闭</source><translation>Close</translation></message>
    <message><source>清除</source><translation>Clear</translation></message>
    <message><source>选择</source><translation>Choose</translation></message>
    <message><source>无法保存签名图片。</source><translation>The signature image couldn’t be saved.</translation></message>
    <message><source>签名库已损坏，已移至 %1，已新建空的签名库。</source><translation>The signature library was damaged. It was moved to %1 and a new, empty library was started.</translation></message>
</context>
</TS>
