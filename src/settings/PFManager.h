#pragma once

#include "PFSignColorModel.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFProbe.h"

#include <QColor>
#include <QDateTime>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QUrl>

class UserDefaults;

// The shared service of the program: the remembered drawing style (kept in the preference
// store, each getter supplying its own default), the private cache folders, free output names
// and small utilities. The style accessors and the cache-path getters are safe from any thread;
// the date and appearance helpers belong to the main thread.
class PFManager {
public:
    static PFManager &sharedManager();
    // A manager over another preference store.
    explicit PFManager(UserDefaults &defaults);

    // Colours per tool. Stored as the colour record's dictionary.
    QColor pfGetHilightColor() const;
    void pfSetHilightColor(const QColor &color);
    QColor pfGetUnderlineColor() const;
    void pfSetUnderlineColor(const QColor &color);
    QColor pfGetStrikeOutColor() const;
    void pfSetStrikeOutColor(const QColor &color);
    QColor pfGetDrawColor() const;
    void pfSetDrawColor(const QColor &color);
    QColor pfGetCircleColor() const;
    void pfSetCircleColor(const QColor &color);
    QColor pfGetCircleFillColor() const;
    void pfSetCircleFillColor(const QColor &color);
    QColor pfGetRectangleColor() const;
    void pfSetRectangleColor(const QColor &color);
    QColor pfGetRectangleFillColor() const;
    void pfSetRectangleFillColor(const QColor &color);
    QColor pfGetArrowColor() const;
    void pfSetArrowColor(const QColor &color);
    QColor pfGetSegmentColor() const;
    void pfSetSegmentColor(const QColor &color);
    QColor pfGetTextColor() const;
    void pfSetTextColor(const QColor &color);
    QColor pfGetTextFillColor() const;
    void pfSetTextFillColor(const QColor &color);
    QColor pfGetFontMenuColor() const;
    void pfSetFontMenuColor(const QColor &color);
    QColor pfGetBorderMenuColor() const;
    void pfSetBorderMenuColor(const QColor &color);
    QColor pfGetFillMenuColor() const;
    void pfSetFillMenuColor(const QColor &color);

    // Widths, font size and the blank-page size index. Stored as decimal strings.
    int pfGetDrawLineWidth() const;
    void pfSetDrawLineWidth(int width);
    int pfGetDrawCircleWidth() const;
    void pfSetDrawCircleWidth(int width);
    int pfGetDrawRectangleWidth() const;
    void pfSetDrawRectangleWidth(int width);
    int pfGetDrawArrowWidth() const;
    void pfSetDrawArrowWidth(int width);
    int pfGetDrawSegmentWidth() const;
    void pfSetDrawSegmentWidth(int width);
    int pfGetFillFontSize() const;
    void pfSetFillFontSize(int size);
    int pfGetNewBlankSize() const;
    void pfSetNewBlankSize(int index);

    // Colour <-> stored record. The record always reads back as an RGB colour.
    static PFSignColorModel pfConvertColorToModel(const QColor &color);
    static QColor pfColorFromModel(const PFSignColorModel &model);

    // Files in the application data folder's PDFSave, SignImage and ThumbImage folders; the
    // folder is created when missing, the file never.
    static QString pfGetCachePDFPathByID(const QString &name);
    static QString pfGetCacheSignImagePathByID(const QString &name);
    static QString pfGetCacheThumbImagePathByID(const QString &name);
    // Creates the "Quirna" folder in the pictures folder when missing; returns its path.
    static QString pfCheckQuirnaPathExistAndCreate();
    // The path itself when nothing is there, else the first free one of name-1.pdf, name-2.pdf…
    // (the extension becomes ".pdf").
    static QString pfGetNewFilePath(const QString &path);
    // The same sequence for folders and other names kept whole: name, name-1, name-2…
    static QString pfGetNewFolderPath(const QString &path);
    // Removes the file or folder (a symbolic link itself, never what it points to); quietly.
    static void pfDeleteFileIfExist(const QString &path);
    static QUrl pfConvertPdfUrl(const QString &path);

    // Probes of a PDF file on disk, answered by the engine layer.
    // Null when it cannot be opened, needs a password, or has no pages.
    static PDFDocument pfGetPDFDocumentRef(const QString &path)
    {
        PDFDocument document = PDFDocument::open(path);
        if (document.isNull() || document.isLocked() || document.pageCount() == 0)
            return {};
        return document;
    }
    static int pfGetPDFPageCount(const QString &path) { return PDFProbe::pageCount(path); }
    // The crop box of page 1; all zero when the file cannot be opened or has no pages.
    static QRectF pfGetPDFRect(const QString &path) { return PDFProbe::firstPageCropBox(path); }
    static PDFProbe::Validity pfCheckPDFValid(const QString &path) { return PDFProbe::validity(path); }

    // Null, "(null)", or only white space and line breaks.
    static bool pfStringIsEmpty(const QString &value);
    // One integer: optional surrounding white space, an optional sign, ASCII digits.
    static bool pfIsPureInt(const QString &text);
    // Nothing but decimal digits of any script; the empty text counts.
    static bool pfIsNum(const QString &text);
    // The squared distance; callers compare it with squared tolerances.
    static double pfPointDistance(QPointF p, QPointF q);
    // Now as "yyyy/MM/dd HH:mm:ss".
    static QString pfDateStamp();
    // The date with abbreviated month and 24-hour time, in the shared formatter's locale.
    static QString pfDateStringFromDate(const QDateTime &date);
    // MD5 of the UTF-8 bytes, 32 lower-case hexadecimal digits.
    static QString md5String(const QString &text);
    // True when the application's palette is dark or the desktop prefers dark.
    static bool pfCheckIsDarkMode();

private:
    QColor colorForKey(const QString &key, const QColor &fallback) const;
    void setColorForKey(const QString &key, const QColor &color);
    int integerForKey(const QString &key, int fallback) const;
    void setIntegerForKey(const QString &key, int value);

    UserDefaults &m_defaults;
};
