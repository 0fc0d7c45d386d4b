<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Quirna</name>
    <message>
        <source>图标</source>
        <translation>Icon</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>笔记</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>关键字</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>新段落</source>
        <translation>New Paragraph</translation>
    </message>
    <message>
        <source>段落</source>
        <translation>Paragraph</translation>
    </message>
    <message>
        <source>插入</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>剪切</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>居中</source>
        <translation>Center</translation>
    </message>
    <message>
        <source>添加书签</source>
        <translation>Add Bookmark</translation>
    </message>
    <message>
        <source>复制文字</source>
        <translation>Copy Text</translation>
    </message>
    <message>
        <source>插入上一页</source>
        <translation>Insert Page Before</translation>
    </message>
    <message>
        <source>删除本页</source>
        <translation>Delete This Page</translation>
    </message>
    <message>
        <source>插入下一页</source>
        <translation>Insert Page After</translation>
    </message>
    <message>
        <source>不能删除了</source>
        <translation>Cannot delete any more</translation>
    </message>
</context>
</TS>
