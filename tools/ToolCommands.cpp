#include "ToolCommands.h"

#include "pages/OutlineParts.h"
#include "pages/PFPageManager.h"
#include "pages/PageImageFormat.h"
#include "pages/PageMessages.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <cstdio>
#include <map>

namespace {

constexpr int kUsageError = 2;
constexpr int kFailure = 1;

int fail(const QString &message, int code = kFailure)
{
    fprintf(stderr, "quirna-tool: %s\n", qPrintable(message));
    return code;
}

int report(const PFPageResult &result)
{
    if (!result.ok())
        return fail(result.error);
    for (const QString &path : result.written)
        printf("%s\n", qPrintable(path));
    return 0;
}

// Options "--name value" and flags "--name" after the positional arguments; nullopt on an
// unknown option or a missing value.
struct Options {
    QStringList positional;
    std::map<QString, QString> values;
    QStringList flags;
    bool has(const QString &name) const { return values.count(name) || flags.contains(name); }
    std::optional<QString> value(const QString &name) const
    {
        auto it = values.find(name);
        return it == values.end() ? std::nullopt : std::optional<QString>(it->second);
    }
};

std::optional<Options> parse(const QStringList &args, const QStringList &valued, const QStringList &flags, QString *error)
{
    Options options;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (valued.contains(arg)) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("%1 needs a value").arg(arg);
                return std::nullopt;
            }
            options.values[arg] = args[++i];
        } else if (flags.contains(arg)) {
            options.flags.append(arg);
        } else if (arg.startsWith(QStringLiteral("--")) && arg.size() > 2) {
            *error = QStringLiteral("unknown option %1").arg(arg);
            return std::nullopt;
        } else {
            options.positional.append(arg);
        }
    }
    return options;
}

std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// #RRGGBB or #RRGGBBAA.
std::optional<QColor> colour(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^#([0-9a-fA-F]{6})([0-9a-fA-F]{2})?$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    QColor result(QLatin1Char('#') + match.captured(1));
    if (match.lastCapturedIndex() >= 2 && !match.captured(2).isEmpty())
        result.setAlpha(match.captured(2).toInt(nullptr, 16));
    return result;
}

int split(const QStringList &args)
{
    if ((args.size() == 3 || args.size() == 4) && args[2] == QStringLiteral("--by-outline")) {
        bool ok = true;
        const int level = args.size() == 4 ? args[3].toInt(&ok) : 1;
        if (!ok || level < 1 || level > OutlineParts::kMaxLevel)
            return fail(QStringLiteral("--by-outline takes a level from 1 to %1").arg(OutlineParts::kMaxLevel), kUsageError);
        return report(PFPageManager::sharedManager().pfSplitByOutline(args[0], args[1], level));
    }
    if (args.size() != 3)
        return fail(QStringLiteral("split needs SRC OUTDIR all|o|e|RANGE, or SRC OUTDIR --by-outline [LEVEL]"),
                    kUsageError);
    const QString &mode = args[2];
    const bool named = mode == QStringLiteral("all") || mode == QStringLiteral("o") || mode == QStringLiteral("e");
    return report(PFPageManager::sharedManager().pfSplitPDF(args[0], args[1], named ? mode : QStringLiteral("z"), mode));
}

int exportImages(const QStringList &args)
{
    QString error;
    const auto options = parse(args, {"--dpi"}, {}, &error);
    if (!options)
        return fail(error, kUsageError);
    const QStringList &positional = options->positional;
    if (positional.size() != 3 && positional.size() != 4)
        return fail(QStringLiteral("export needs SRC OUTDIR png|jpeg|jp2|tiff [RANGE] [--dpi N]"), kUsageError);
    const int format = PageImageFormat::indexFromName(positional[2]);
    if (format < 0)
        return fail(PageMessages::unsupported(), kUsageError);
    int dpi = PFPageManager::kDefaultDpi;
    if (const auto text = options->value("--dpi")) {
        bool ok = false;
        dpi = text->toInt(&ok);
        if (!ok || dpi < PFPageManager::kMinDpi || dpi > PFPageManager::kMaxDpi)
            return fail(QStringLiteral("--dpi takes a whole number from %1 to %2")
                            .arg(PFPageManager::kMinDpi)
                            .arg(PFPageManager::kMaxDpi),
                        kUsageError);
    }
    const std::optional<QString> range = positional.size() == 4 ? std::optional<QString>(positional[3]) : std::nullopt;
    return report(PFPageManager::sharedManager().pfSplitImage(positional[0], positional[1], format, range, dpi));
}

int combine(const QStringList &args)
{
    if (args.size() < 3)
        return fail(QStringLiteral("combine needs OUTDIR SRC SRC [SRC ...]"), kUsageError);
    return report(PFPageManager::sharedManager().pfCombinePdfs(args.mid(1), args[0]));
}

int images(const QStringList &args)
{
    QString error;
    const auto options = parse(args, {"--size", "--custom", "--margin"}, {}, &error);
    if (!options)
        return fail(error, kUsageError);
    if (options->positional.size() < 2 || (options->has("--size") && options->has("--custom")))
        return fail(QStringLiteral("images needs OUTDIR [--size 0..8 | --custom WxH] [--margin N] IMAGE ..."), kUsageError);
    int index = 7; // A4 unless told otherwise
    QString width, height;
    if (const auto size = options->value("--size")) {
        bool ok = false;
        index = size->toInt(&ok);
        if (!ok || index < 0 || index > 8)
            return fail(PageMessages::invalidParameters());
    }
    if (const auto custom = options->value("--custom")) {
        const QStringList parts = custom->split(u'x');
        if (parts.size() != 2)
            return fail(PageMessages::invalidParameters());
        width = parts[0];
        height = parts[1];
    }
    const auto setup = ImagePageSetup::fromTexts(!options->has("--custom"), index, width, height,
                                                 options->value("--margin").value_or(QString()));
    if (!setup)
        return fail(PageMessages::invalidParameters());
    return report(PFPageManager::sharedManager().pfCombineImages(options->positional.mid(1), options->positional[0], *setup));
}

int protect(const QStringList &args)
{
    QString error;
    const auto options = parse(args, {"--user", "--owner"}, {"--no-copy", "--no-print"}, &error);
    if (!options)
        return fail(error, kUsageError);
    if (options->positional.size() != 2)
        return fail(QStringLiteral("protect needs SRC DEST [--user PW] [--owner PW] [--no-copy] [--no-print]"), kUsageError);
    const PDFDocument document = PFPageManager::openSource(options->positional[0], &error);
    if (document.isNull())
        return fail(error);
    return report(PFPageManager::sharedManager().pfSavePassDoc(
        document, options->value("--user"), options->value("--owner"), options->has("--no-copy"),
        options->has("--no-print"), options->positional[1]));
}

int watermark(const QStringList &args)
{
    QString error;
    const auto options = parse(args, {"--text", "--font", "--size", "--color", "--angle", "--pages"}, {}, &error);
    if (!options)
        return fail(error, kUsageError);
    if (options->positional.size() != 2 || !options->has("--text"))
        return fail(QStringLiteral("watermark needs SRC DEST --text TEXT"), kUsageError);
    PFWatermarkModel model;
    model.inputText = *options->value("--text");
    model.fontName = options->value("--font").value_or(model.fontName);
    const auto size = number(options->value("--size").value_or(QString::number(model.fontSize)));
    const auto angle = number(options->value("--angle").value_or(QString::number(model.degree)));
    const auto color = colour(options->value("--color").value_or(QStringLiteral("#000000")));
    if (!size || *size <= 0 || *size > 1000 || !angle || !color)
        return fail(PageMessages::invalidParameters());
    model.fontSize = *size;
    model.degree = *angle;
    model.fontColor = *color;
    if (const auto pages = options->value("--pages")) {
        static const QRegularExpression range(QStringLiteral("^([0-9]{1,9})-([0-9]{1,9})$"));
        const auto match = range.match(*pages);
        if (!match.hasMatch() || match.captured(1).toInt() > match.captured(2).toInt())
            return fail(PageMessages::invalidParameters());
        model.numType = 2;
        model.startNum = match.captured(1).toInt();
        model.endNum = match.captured(2).toInt();
    }
    return report(PFPageManager::sharedManager().pfAddWatermark(options->positional[0],
                                                                options->positional[1], model));
}

} // namespace

namespace ToolCommands {

QString usage()
{
    return QStringLiteral(
        "usage: quirna-tool COMMAND ...\n"
        "\n"
        "  split SRC OUTDIR all|o|e|RANGE\n"
        "      all: one file per page, OUTDIR/<name>-split/Page_<n>.pdf; o: odd pages; e: even pages;\n"
        "      RANGE (e.g. 1,3-6,10): those pages; o, e and RANGE write OUTDIR/<name>-splited.pdf\n"
        "  split SRC OUTDIR --by-outline [LEVEL]\n"
        "      one file per outline item of LEVEL (default 1, the top level), named after its title,\n"
        "      holding the pages from the item to the next, into OUTDIR/<name>-split\n"
        "  export SRC OUTDIR png|jpeg|jp2|tiff [RANGE] [--dpi N]\n"
        "      pages as images at N dpi (default 72, 18 to 1200) into OUTDIR/<name>-images/Page_<n>.<ext>\n"
        "  combine OUTDIR SRC SRC [SRC ...]\n"
        "      all pages into OUTDIR/merge.pdf, with one outline item per source\n"
        "  images OUTDIR [--size 0..8 | --custom WxH] [--margin N] IMAGE ...\n"
        "      one page per image (png, jpg, jpeg, tiff, tif, jp2, bmp) into OUTDIR/merge.pdf; sizes: 0 Letter,\n"
        "      1 JIS B5, 2 Legal, 3 A0, 4 A1, 5 A2, 6 A3, 7 A4 (default), 8 A5; W, H and N in points\n"
        "  protect SRC DEST [--user PW] [--owner PW] [--no-copy] [--no-print]\n"
        "      a copy encrypted with AES-256; at least one password\n"
        "  watermark SRC DEST --text TEXT [--font NAME] [--size PT] [--color #RRGGBB[AA]]\n"
        "            [--angle DEG] [--pages FIRST-LAST]\n"
        "      the text drawn into the pages' content, centred and turned counter-clockwise\n"
        "\n"
        "Outputs never replace existing files: the next free name (merge-1.pdf, <name>-split-1 ...)\n"
        "is taken. Each command prints the paths it wrote, one per line.\n");
}

int run(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return fail(QStringLiteral("no command; see quirna-tool --help"), kUsageError);
    const QString command = arguments.first();
    const QStringList rest = arguments.mid(1);
    if (command == QStringLiteral("--help") || command == QStringLiteral("-h")) {
        printf("%s", qPrintable(usage()));
        return 0;
    }
    if (command == QStringLiteral("split"))
        return split(rest);
    if (command == QStringLiteral("export"))
        return exportImages(rest);
    if (command == QStringLiteral("combine"))
        return combine(rest);
    if (command == QStringLiteral("images"))
        return images(rest);
    if (command == QStringLiteral("protect"))
        return protect(rest);
    if (command == QStringLiteral("watermark"))
        return watermark(rest);
    return fail(QStringLiteral("unknown command %1; see quirna-tool --help").arg(command), kUsageError);
}

} // namespace ToolCommands
