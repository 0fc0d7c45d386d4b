<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Quirna</name>
    <message><source>选择</source><translation>Choose</translation></message>
    <message><source>输出路径</source><translation>Output path</translation></message>
    <message><source>输出路径L</source><translation>Output path</translation></message>
    <message><source>合并PDF</source><translation>Combine PDF</translation></message>
    <message><source>拖拽PDF</source><translation>Drag PDF files here</translation></message>
    <message><source>合并</source><translation>Combine</translation></message>
    <message><source>转换成功</source><translation>Conversion succeeded</translation></message>
    <message><source>图片转PDF</source><translation>Images to PDF</translation></message>
    <message><source>拖拽图片</source><translation>Drag images here</translation></message>
    <message><source>转换</source><translation>Convert</translation></message>
    <message><source>尺寸</source><translation>Size</translation></message>
    <message><source>宽度</source><translation>Width</translation></message>
    <message><source>高度</source><translation>Height</translation></message>
    <message><source>页边距</source><translation>Margin</translation></message>
    <message><source>拼接成功</source><translation>Joined successfully</translation></message>
    <message><source>页面设置</source><translation>Page settings</translation></message>
    <message><source>所有页面</source><translation>All pages</translation></message>
    <message><source>所选页面</source><translation>Selected pages</translation></message>
    <message><source>(例如:1,3-6,10)</source><translation>(for example: 1,3-6,10)</translation></message>
    <message><source>格式</source><translation>Format</translation></message>
    <message><source>开始</source><translation>Start</translation></message>
    <message><source>复制</source><translation>Copy</translation></message>
    <message><source>打印L</source><translation>Print</translation></message>
    <message><source>保存</source><translation>Save</translation></message>
    <message><source>文档密码</source><translation>Document password</translation></message>
    <message><source>权限密码</source><translation>Permissions password</translation></message>
    <message><source>自定义L</source><translation>Custom</translation></message>
    <message><source>全部</source><translation>All</translation></message>
    <message><source>应用</source><translation>Apply</translation></message>
    <message><source>文字</source><translation>Text</translation></message>
    <message><source>颜色</source><translation>Colour</translation></message>
    <message><source>字体</source><translation>Font</translation></message>
    <message><source>大小</source><translation>Size</translation></message>
    <message><source>角度</source><translation>Angle</translation></message>
    <message><source>页码</source><translation>Pages</translation></message>
    <message><source>按书签拆分</source><translation>Split by outline</translation></message>
    <message><source>级别</source><translation>Level</translation></message>
    <message><source>添加文件</source><translation>Add Files…</translation></message>
    <message><source>添加文件夹</source><translation>Add Folder…</translation></message>
</context>
</TS>
