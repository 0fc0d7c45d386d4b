#!/usr/bin/env python3
"""Adds to each resources/translations/<area>_zh_CN.ts the keys of <area>_en.ts it lacks.

A Chinese key shows itself with its disambiguating suffix removed ("关闭Menu" shows "关闭",
"页码Num" shows "页码", "拖拽PDFL" shows "拖拽PDF"). Keys written in English get their Chinese
text from the table below; one missing there is reported and left for a person to write.
Entries already in a Chinese table are kept as they are.
"""
import re
import sys
import xml.etree.ElementTree as ET
from pathlib import Path
from xml.sax.saxutils import escape

ENGLISH_KEYS = {
    "NoneTo": "选择", "HilightTo": "高亮", "UnderlineTo": "下划线", "StrikeoutTo": "删除线",
    "PenTo": "画笔", "CircleTo": "椭圆", "RectangleTo": "矩形", "ArrowTo": "箭头", "LineTo": "直线",
    "LinkTo": "链接", "TextTo": "文本框", "NoteTo": "附注", "ImageTo": "图片", "StampTo": "图章",
    "SignTo": "签名", "WidthTo": "线宽", "ColorTo": "颜色", "FontTo": "字体",
    "Table of Contents": "目录", "Highlights and Notes": "高亮和附注", "Thumbnails": "缩略图",
    "Bookmarks": "书签", "Search": "搜索",
    "Could not save changes while quitting. Quit anyway?": "退出时无法保存更改。仍要退出吗？",
    "Quitting now will lose any changes you have made since the last successful save":
        "现在退出将丢失上次成功保存之后所做的全部更改",
    "Quit anyway": "仍然退出", "Cancel": "取消",
}
CJK = r"[\u3000-\u9fff\uff00-\uffef]"
SUFFIX = re.compile(r"^(.*(?:" + CJK + r"|PDF))(Menu|Num|To|L)$")


def display_text(key):
    if key in ENGLISH_KEYS:
        return ENGLISH_KEYS[key]
    if not re.search(CJK, key):
        return None
    match = SUFFIX.match(key)
    return match.group(1) if match else key


def messages(path):
    return [(m.findtext("source"), m.findtext("translation")) for m in ET.parse(path).iter("message")]


def write(path, entries):
    lines = ['<?xml version="1.0" encoding="utf-8"?>', "<!DOCTYPE TS>", '<TS version="2.1" language="zh_CN">',
             "<context>", "    <name>Quirna</name>"]
    for source, translation in entries:
        lines += ["    <message>", f"        <source>{escape(source)}</source>",
                  f"        <translation>{escape(translation)}</translation>", "    </message>"]
    lines += ["</context>", "</TS>", ""]
    path.write_text("\n".join(lines), encoding="utf-8")


def main():
    folder = Path(__file__).resolve().parent.parent / "resources" / "translations"
    missing = []
    for english in sorted(folder.glob("*_en.ts")):
        chinese = english.with_name(english.name[: -len("_en.ts")] + "_zh_CN.ts")
        entries = messages(chinese) if chinese.exists() else []
        known = {source for source, _ in entries}
        added = False
        for source, _ in messages(english):
            if source in known:
                continue
            text = display_text(source)
            if text is None:
                missing.append(f"{english.name}: {source}")
                text = source
            entries.append((source, text))
            known.add(source)
            added = True
        if added or not chinese.exists():
            write(chinese, entries)
    for line in missing:
        print("no Chinese text for", line, file=sys.stderr)
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
