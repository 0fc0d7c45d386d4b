#pragma once

#include <QString>

// Paths at which nothing exists yet, so that no output ever replaces a file. Each walks its own
// sequence of names from the given path until it reaches a vacant one.
class FreeName {
public:
    // A PDF file: merge.pdf, merge-1.pdf, merge-2.pdf …; scan-07.pdf is followed by scan-8.pdf
    // and 2x.pdf by 2x-3.pdf. Candidates always end in ".pdf".
    static QString forFile(const QString &path);
    // Any file, keeping its extension and adding a counter to its whole name: shot-1.png is
    // followed by shot-1-1.png, shot-1-2.png …
    static QString forAnyFile(const QString &path);
    // A folder: report-split, report-split-1, report-split-2 …
    static QString forFolder(const QString &path);
    // A split output: report-splited.pdf, report-splited-1.pdf, report-splited-2.pdf …
    static QString forSplitFile(const QString &path);

    // True when the whole text is one integer: optional blanks and sign, then decimal digits.
    static bool isPureInt(const QString &text);
    // The value of the leading integer (after blanks and a sign); 0 when there are no digits.
    static qint64 leadingInt(const QString &text);
};
