#include "PDFRepacker.h"

#include <QFile>

// Only the modern smart-pointer interface is used.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

namespace PDFRepacker {

bool repack(const unsigned char *pdf, size_t size, const QByteArray &password, const std::vector<ObjectId> &erased,
            const QString &path, const QByteArray &encryptLike)
{
    try {
        QPDF qpdf;
        qpdf.setSuppressWarnings(true);
        qpdf.processMemoryFile("document", reinterpret_cast<const char *>(pdf), size,
                               password.isEmpty() ? nullptr : password.constData());
        for (const ObjectId &id : erased)
            qpdf.replaceObject(id.number, id.generation, QPDFObjectHandle::newNull());
        const QByteArray file = QFile::encodeName(path);
        QPDFWriter writer(qpdf, file.constData());
        writer.setObjectStreamMode(qpdf_o_generate);
        writer.setCompressStreams(true);
        QPDF model;
        if (encryptLike.isEmpty()) {
            writer.setPreserveEncryption(true);
        } else {
            model.setSuppressWarnings(true);
            model.processMemoryFile("model", encryptLike.constData(), size_t(encryptLike.size()),
                                    password.isEmpty() ? nullptr : password.constData());
            writer.copyEncryptionParameters(model);
        }
        writer.write();
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace PDFRepacker
