<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Quirna</name>
    <message>
        <source>上一页</source>
        <translation>上一页</translation>
    </message>
    <message>
        <source>下一页</source>
        <translation>下一页</translation>
    </message>
    <message>
        <source>退出幻灯片</source>
        <translation>退出幻灯片</translation>
    </message>
    <message>
        <source>没有找到匹配项</source>
        <translation>没有找到匹配项</translation>
    </message>
    <message>
        <source>版本 %1</source>
        <translation>版本 %1</translation>
    </message>
    <message>
        <source>PDF 阅读和编辑</source>
        <translation>PDF 阅读和编辑</translation>
    </message>
    <message>
        <source>Quirna 是自由软件，依照 GNU Affero 通用公共许可证第 3 版或更新版本发布。</source>
        <translation>Quirna 是自由软件，依照 GNU Affero 通用公共许可证第 3 版或更新版本发布。</translation>
    </message>
    <message>
        <source>使用 MuPDF %1（GNU AGPL 3.0）和 Qt %2（GNU LGPL 3.0）。</source>
        <translation>使用 MuPDF %1（GNU AGPL 3.0）和 Qt %2（GNU LGPL 3.0）。</translation>
    </message>
    <message>
        <source>关于 Qt</source>
        <translation>关于 Qt</translation>
    </message>
    <message>
        <source>页面缩放</source>
        <translation>页面缩放</translation>
    </message>
    <message>
        <source>缩放以适合纸张</source>
        <translation>缩放以适合纸张</translation>
    </message>
    <message>
        <source>打印件不能替换正在打开的文档</source>
        <translation>打印件不能替换正在打开的文档</translation>
    </message>
    <message>
        <source>没有要打印的页面</source>
        <translation>没有要打印的页面</translation>
    </message>
    <message>
        <source>正在打印…</source>
        <translation>正在打印…</translation>
    </message>
    <message>
        <source>打印失败</source>
        <translation>打印失败</translation>
    </message>
    <message>
        <source>文档页面</source>
        <translation>文档页面</translation>
    </message>
</context>
</TS>
