#include "InstanceMessage.h"

#include <QDir>
#include <QStringDecoder>
#include <QtEndian>

namespace {

constexpr char kTag[4] = {'Q', 'R', 'N', '1'};
constexpr int kTagSize = sizeof kTag;

void appendLength(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

// An absolute path, valid UTF-8, without NUL: the only thing a message may carry.
bool acceptablePath(const QByteArray &utf8, QString *path)
{
    if (utf8.isEmpty() || utf8.size() > InstanceMessage::kMaxPathBytes || utf8.contains('\0') || !utf8.startsWith('/'))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(utf8);
    if (decoder.hasError())
        return false;
    *path = QDir::cleanPath(text);
    return true;
}

} // namespace

QByteArray InstanceMessage::encode(const QStringList &paths)
{
    if (paths.size() > kMaxPaths)
        return {};
    QByteArray out(kTag, kTagSize);
    appendLength(out, quint32(paths.size()));
    for (const QString &path : paths) {
        const QByteArray utf8 = path.toUtf8();
        QString checked;
        if (!acceptablePath(utf8, &checked))
            return {};
        appendLength(out, quint32(utf8.size()));
        out.append(utf8);
    }
    return out.size() > kMaxBytes ? QByteArray() : out;
}

InstanceMessage::State InstanceMessage::decode(const QByteArray &bytes, QStringList *paths)
{
    if (bytes.size() > kMaxBytes)
        return State::Invalid;
    // The tag is checked as far as it has arrived, so a wrong peer is refused at once.
    const qsizetype tagged = std::min<qsizetype>(bytes.size(), kTagSize);
    if (QByteArrayView(bytes).first(tagged) != QByteArrayView(kTag, tagged))
        return State::Invalid;
    qsizetype at = kTagSize;
    const auto readLength = [&](quint32 *value) {
        if (bytes.size() - at < 4)
            return false;
        *value = qFromBigEndian<quint32>(bytes.constData() + at);
        at += 4;
        return true;
    };
    quint32 count = 0;
    if (!readLength(&count))
        return State::Incomplete;
    if (count > quint32(kMaxPaths))
        return State::Invalid;
    QStringList result;
    for (quint32 i = 0; i < count; ++i) {
        quint32 length = 0;
        if (!readLength(&length))
            return State::Incomplete;
        if (length == 0 || length > quint32(kMaxPathBytes))
            return State::Invalid;
        if (bytes.size() - at < qsizetype(length))
            return State::Incomplete;
        QString path;
        if (!acceptablePath(bytes.mid(at, length), &path))
            return State::Invalid;
        result.append(path);
        at += length;
    }
    if (at != bytes.size())
        return State::Invalid; // trailing bytes: not a message of ours
    *paths = result;
    return State::Complete;
}
