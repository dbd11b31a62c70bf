#pragma once

#include <QByteArray>
#include <QString>

// Text files are UTF-8; files made on Windows (skins, old settings) are Windows-1251. A file that is
// not valid UTF-8 is read as Windows-1251, which maps every byte, so no text is lost or refused.
namespace platform {

QString decodeText(const QByteArray& bytes);
QString decodeWindows1251(const QByteArray& bytes);

} // namespace platform
