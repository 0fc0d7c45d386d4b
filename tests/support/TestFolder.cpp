#include "TestFolder.h"

#include "TestPdf.h"

QString TestFolder::writePdf(const QByteArray &bytes)
{
    const QString path = filePath(QStringLiteral("doc%1.pdf").arg(++m_count));
    return TestPdf::write(path, bytes) ? path : QString();
}
