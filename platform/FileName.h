#pragma once

#include <QByteArray>
#include <QString>

class QUrl;

// File names are bytes on Linux. Archives copied from Windows disks often carry names in a Windows
// code page, which are not valid UTF-8; Qt would decode them with replacement characters and the
// name could never be opened again. Here every byte that is not part of valid UTF-8 is kept in the
// text as the lone surrogate U+DC00 + byte (the "surrogate escape" scheme), so that any name read
// from the system goes back to it with exactly its bytes.
namespace platform {

// The text of a name read from the system; valid UTF-8 decodes as UTF-8.
QString decodeFileName(const QByteArray& bytes);

// The bytes of a name or path: UTF-8, with escaped bytes given back as they were.
QByteArray encodeFileName(const QString& name);

// The local path a file URL names, from the bytes of its percent-encoding: a file manager writes a
// name in a Windows code page as its own bytes ("%C0"), which a UTF-8 reading would replace.
QString localPathOfUrl(const QUrl& url);

// A name for the user to read: a name that was not valid UTF-8 is shown decoded as Windows-1251,
// the code page of most such names here; other names as they are.
QString displayFileName(const QString& name);

} // namespace platform
