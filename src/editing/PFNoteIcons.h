#pragma once

#include <QString>

// The seven note icons: their places in the note popover's menu, their PDF icon types (0 to 6)
// and the icon names written into the file.
class PFNoteIcons {
public:
    static constexpr int kCount = 7;
    // The icon type of a menu position (0 to 6); -1 for any other position.
    static int iconTypeForPosition(int position);
    // The menu position of an icon type; 0 (Comment) for anything unknown.
    static int pfSelectIndex(int iconType);
    // "Comment", "Key", "Note", "Help", "NewParagraph", "Paragraph", "Insert" by icon type.
    static QString iconName(int iconType);
    // The icon type of a name; 0 for a name that is not one of the seven.
    static int iconType(const QString &name);
    // Image name and localisation key of a menu position.
    static const char *imageName(int position);
    static const char *labelKey(int position);
};
