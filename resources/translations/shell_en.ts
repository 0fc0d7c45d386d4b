<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Quirna</name>
    <message>
        <source>关于 Quirna</source>
        <translation>About Quirna</translation>
    </message>
    <message>
        <source>服务</source>
        <translation>Services</translation>
    </message>
    <message>
        <source>隐藏Quirna</source>
        <translation>Hide Quirna</translation>
    </message>
    <message>
        <source>隐藏其他</source>
        <translation>Hide Others</translation>
    </message>
    <message>
        <source>显示全部</source>
        <translation>Show All</translation>
    </message>
    <message>
        <source>退出Quirna</source>
        <translation>Quit Quirna</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>新建空白</source>
        <translation>New Blank</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open…</translation>
    </message>
    <message>
        <source>打开最近</source>
        <translation>Open Recent</translation>
    </message>
    <message>
        <source>关闭Menu</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>保存Menu</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As…</translation>
    </message>
    <message>
        <source>页面设</source>
        <translation>Page Setup…</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print…</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
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
        <source>全选</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>拼写</source>
        <translation>Spelling and Grammar</translation>
    </message>
    <message>
        <source>翻译</source>
        <translation>Transformations</translation>
    </message>
    <message>
        <source>语音</source>
        <translation>Speech</translation>
    </message>
    <message>
        <source>显示</source>
        <translation>View</translation>
    </message>
    <message>
        <source>单页</source>
        <translation>Single Page</translation>
    </message>
    <message>
        <source>单页连续</source>
        <translation>Single Page Continuous</translation>
    </message>
    <message>
        <source>双页</source>
        <translation>Two Pages</translation>
    </message>
    <message>
        <source>双页连续</source>
        <translation>Two Pages Continuous</translation>
    </message>
    <message>
        <source>全屏</source>
        <translation>Full Screen</translation>
    </message>
    <message>
        <source>幻灯片</source>
        <translation>Slide Show</translation>
    </message>
    <message>
        <source>阅读模式</source>
        <translation>Reading Mode</translation>
    </message>
    <message>
        <source>隐藏工具栏</source>
        <translation>Hide Toolbar</translation>
    </message>
    <message>
        <source>显示工具栏</source>
        <translation>Show Toolbar</translation>
    </message>
    <message>
        <source>前往</source>
        <translation>Go</translation>
    </message>
    <message>
        <source>向上</source>
        <translation>Previous Page</translation>
    </message>
    <message>
        <source>向下</source>
        <translation>Next Page</translation>
    </message>
    <message>
        <source>第一页</source>
        <translation>First Page</translation>
    </message>
    <message>
        <source>最后一页</source>
        <translation>Last Page</translation>
    </message>
    <message>
        <source>向后</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>向前</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>前往页面</source>
        <translation>Go to Page…</translation>
    </message>
    <message>
        <source>窗口</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>缩放</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>前置全部</source>
        <translation>Bring All to Front</translation>
    </message>
    <message>
        <source>新标签页</source>
        <translation>New Tab</translation>
    </message>
    <message>
        <source>页码Num</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>要保存对文档</source>
        <translation>Do you want to save the changes to the document </translation>
    </message>
    <message>
        <source>的更改吗?</source>
        <translation> before closing</translation>
    </message>
    <message>
        <source>如果不保存</source>
        <translation>If you don't save, your changes will be lost.</translation>
    </message>
    <message>
        <source>不保存</source>
        <translation>Don't Save</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>保存失败</source>
        <translation>The file could not be saved</translation>
    </message>
    <message>
        <source>尺寸</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>需要保存后</source>
        <translation>The document needs to be saved first.</translation>
    </message>
    <message>
        <source>页面</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Table of Contents</source>
        <translation>Table of Contents</translation>
    </message>
    <message>
        <source>Highlights and Notes</source>
        <translation>Highlights and Notes</translation>
    </message>
    <message>
        <source>Thumbnails</source>
        <translation>Thumbnails</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Bookmarks</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>工具</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>合并</source>
        <translation>Combine</translation>
    </message>
    <message>
        <source>图片转PDF</source>
        <translation>Images to PDF</translation>
    </message>
    <message>
        <source>缩小</source>
        <translation>Zoom Out</translation>
    </message>
    <message>
        <source>放大</source>
        <translation>Zoom In</translation>
    </message>
    <message>
        <source>侧边栏</source>
        <translation>Sidebar</translation>
    </message>
    <message>
        <source>工具栏</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>实际大小</source>
        <translation>Actual Size</translation>
    </message>
    <message>
        <source>等宽</source>
        <translation>Fit Width</translation>
    </message>
    <message>
        <source>等高</source>
        <translation>Fit Height</translation>
    </message>
    <message>
        <source>自动缩放</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>拖拽PDFL</source>
        <translation>Drag a PDF file here</translation>
    </message>
    <message>
        <source>导出图片</source>
        <translation>Export Images</translation>
    </message>
    <message>
        <source>密码保护</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>水印</source>
        <translation>Watermark</translation>
    </message>
    <message>
        <source>Could not save changes while quitting. Quit anyway?</source>
        <translation>Could not save changes while quitting. Quit anyway?</translation>
    </message>
    <message>
        <source>Quitting now will lose any changes you have made since the last successful save</source>
        <translation>Quitting now will lose any changes you have made since the last successful save</translation>
    </message>
    <message>
        <source>Quit anyway</source>
        <translation>Quit anyway</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>
