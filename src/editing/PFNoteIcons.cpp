#include "PFNoteIcons.h"

namespace {

struct Entry {
    const char *image;
    const char *label;
    int iconType;
};

// By menu position.
const Entry kEntries[PFNoteIcons::kCount] = {
    {"comentT", "备注", 0}, {"noteT", "笔记", 2},    {"keyT", "关键字", 1}, {"HelpT", "帮助", 3},
    {"paramT", "新段落", 4}, {"nparaT", "段落", 5}, {"insertT", "插入", 6},
};

// By icon type.
const char *const kNames[PFNoteIcons::kCount] = {"Comment",      "Key",       "Note",  "Help",
                                                  "NewParagraph", "Paragraph", "Insert"};

} // namespace

int PFNoteIcons::iconTypeForPosition(int position)
{
    return position >= 0 && position < kCount ? kEntries[position].iconType : -1;
}

int PFNoteIcons::pfSelectIndex(int iconType)
{
    for (int position = 0; position < kCount; ++position) {
        if (kEntries[position].iconType == iconType)
            return position;
    }
    return 0;
}

QString PFNoteIcons::iconName(int iconType)
{
    return QString::fromLatin1(kNames[iconType >= 0 && iconType < kCount ? iconType : 0]);
}

int PFNoteIcons::iconType(const QString &name)
{
    for (int type = 0; type < kCount; ++type) {
        if (name == QLatin1String(kNames[type]))
            return type;
    }
    return 0;
}

const char *PFNoteIcons::imageName(int position)
{
    return kEntries[position >= 0 && position < kCount ? position : 0].image;
}

const char *PFNoteIcons::labelKey(int position)
{
    return kEntries[position >= 0 && position < kCount ? position : 0].label;
}
