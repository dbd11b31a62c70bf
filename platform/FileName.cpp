#include "platform/FileName.h"

#include "platform/TextCodec.h"

#include <QUrl>

#include <algorithm>

namespace platform {

namespace {

constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

bool isContinuation(uchar byte, uchar low = 0x80, uchar high = 0xBF)
{
    return byte >= low && byte <= high;
}

// The length of the valid UTF-8 sequence at `at`, 0 when there is none. Overlong forms, encoded
// surrogates and code points past U+10FFFF are not valid: each of their bytes gets escaped.
qsizetype validSequenceLength(const QByteArray& bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) {
        return at + i < bytes.size() ? uchar(bytes[at + i]) : uchar(0);
    };
    const uchar lead = byte(0);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return isContinuation(byte(1)) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const uchar low = lead == 0xE0 ? 0xA0 : 0x80;
        const uchar high = lead == 0xED ? 0x9F : 0xBF;
        return isContinuation(byte(1), low, high) && isContinuation(byte(2)) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const uchar low = lead == 0xF0 ? 0x90 : 0x80;
        const uchar high = lead == 0xF4 ? 0x8F : 0xBF;
        return isContinuation(byte(1), low, high) && isContinuation(byte(2)) && isContinuation(byte(3)) ? 4
                                                                                                        : 0;
    }
    return 0;
}

bool isEscape(QChar c)
{
    return c.unicode() >= kFirstEscape && c.unicode() <= kLastEscape;
}

} // namespace

QString decodeFileName(const QByteArray& bytes)
{
    // Runs of valid UTF-8 are decoded whole: folder listings decode every name they meet.
    QString name;
    name.reserve(bytes.size());
    qsizetype runStart = 0;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype length = validSequenceLength(bytes, at);
        if (length > 0) {
            at += length;
            continue;
        }
        name.append(QString::fromUtf8(bytes.constData() + runStart, at - runStart));
        name.append(QChar(char16_t(0xDC00 + uchar(bytes[at]))));
        runStart = ++at;
    }
    name.append(QString::fromUtf8(bytes.constData() + runStart, at - runStart));
    return name;
}

QByteArray encodeFileName(const QString& name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (!isEscape(c))
            continue;
        bytes += QStringView(name).mid(runStart, i - runStart).toUtf8();
        bytes += char(c.unicode() - 0xDC00);
        runStart = i + 1;
    }
    bytes += QStringView(name).mid(runStart).toUtf8();
    return bytes;
}

QString localPathOfUrl(const QUrl& url)
{
    // A host names a network share, which has no bytes of its own here.
    if (!url.isLocalFile() || !url.host().isEmpty())
        return url.toLocalFile();
    return decodeFileName(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

QString displayFileName(const QString& name)
{
    if (std::none_of(name.begin(), name.end(), isEscape))
        return name;
    return decodeWindows1251(encodeFileName(name));
}

} // namespace platform
