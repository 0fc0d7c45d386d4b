<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Quirna</name>
    <message>
        <source>上一页</source>
        <translation>Previous Page</translation>
    </message>
    <message>
        <source>下一页</source>
        <translation>Next Page</translation>
    </message>
    <message>
        <source>退出幻灯片</source>
        <translation>End Slide Show</translation>
    </message>
    <message>
        <source>没有找到匹配项</source>
        <translation>No matches found</translation>
    </message>
    <message>
        <source>版本 %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>PDF 阅读和编辑</source>
        <translation>A PDF reader and editor</translation>
    </message>
    <message>
        <source>Quirna 是自由软件，依照 GNU Affero 通用公共许可证第 3 版或更新版本发布。</source>
        <translation>Quirna is free software, released under the GNU Affero General Public License, version 3 or later.</translation>
    </message>
    <message>
        <source>使用 MuPDF %1（GNU AGPL 3.0）和 Qt %2（GNU LGPL 3.0）。</source>
        <translation>Built on MuPDF %1 (GNU AGPL 3.0) and Qt %2 (GNU LGPL 3.0).</translation>
    </message>
    <message>
        <source>关于 Qt</source>
        <translation>About Qt</translation>
    </message>
    <message>
        <source>页面缩放</source>
        <translation>Page Scaling</translation>
    </message>
    <message>
        <source>缩放以适合纸张</source>
        <translation>Scale to fit the paper</translation>
    </message>
    <message>
        <source>打印件不能替换正在打开的文档</source>
        <translation>The printout cannot replace the open document</translation>
    </message>
    <message>
        <source>没有要打印的页面</source>
        <translation>No pages to print</translation>
    </message>
    <message>
        <source>正在打印…</source>
        <translation>Printing…</translation>
    </message>
    <message>
        <source>打印失败</source>
        <translation>Printing failed</translation>
    </message>
    <message>
        <source>文档页面</source>
        <translation>Document pages</translation>
    </message>
</context>
</TS>
