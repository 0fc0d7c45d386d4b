#include "TestPdf.h"

#include <QFile>
#include <QProcess>

namespace TestPdf {

QByteArray build(const QList<Page> &pages) { return build(pages, {}, {}); }

QByteArray build(const QList<Page> &pages, const QByteArray &catalogExtra, const QList<QByteArray> &extraObjects)
{
    QList<QByteArray> objects; // object n+1 at index n
    objects << "<< /Type /Catalog /Pages 2 0 R " + catalogExtra + " >>" << QByteArray() << "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>";
    QByteArray kids;
    for (const Page &page : pages) {
        QByteArray content = "BT /F1 12 Tf 14 TL 72 700 Td\n";
        for (int i = 0; i < page.lines.size(); ++i) {
            QByteArray line = page.lines[i].toLatin1();
            line.replace('\\', "\\\\").replace('(', "\\(").replace(')', "\\)");
            content += (i == 0 ? "" : "0 -20 Td ") + QByteArray("(") + line + ") Tj\n";
        }
        content += "ET";
        const int contentNumber = int(objects.size()) + 1;
        objects << "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream";
        const QRectF &b = page.mediaBox;
        QByteArray dict = "<< /Type /Page /Parent 2 0 R /MediaBox [" + QByteArray::number(b.left()) + ' '
                          + QByteArray::number(b.top()) + ' ' + QByteArray::number(b.right()) + ' '
                          + QByteArray::number(b.bottom()) + "] /Resources << /Font << /F1 3 0 R >> >> /Contents "
                          + QByteArray::number(contentNumber) + " 0 R";
        if (page.rotate)
            dict += " /Rotate " + QByteArray::number(page.rotate);
        dict += ' ' + page.extra + " >>";
        objects << dict;
        kids += QByteArray::number(objects.size()) + " 0 R ";
    }
    objects += extraObjects;
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(pages.size()) + " >>";
    return fromObjects(objects);
}

QByteArray fromObjects(const QList<QByteArray> &objects)
{
    QByteArray out = "%PDF-1.7\n%\xe2\xe3\xcf\xd3\n";
    QList<int> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets << int(out.size());
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const int xref = int(out.size());
    out += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (int offset : offsets)
        out += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
           + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

QByteArray simple(int count)
{
    QList<Page> pages;
    for (int i = 1; i <= count; ++i)
        pages << Page{{QStringLiteral("Page %1").arg(i), QStringLiteral("Lorem ipsum dolor sit amet")}};
    return build(pages);
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

int run(const QString &program, const QStringList &arguments, QString *output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(120000))
        return -1;
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace TestPdf
