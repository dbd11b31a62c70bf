// The INI reader on any bytes: every key line it can find is read back, and no value is longer than
// the 2047 characters the Windows reader gives.
#include "fuzz/FuzzSupport.h"
#include "platform/IniFile.h"

#include <QRegularExpression>
#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const platform::IniFile ini(fuzz::writeScratchFile(QStringLiteral("skin.ini"), data, size));
    fuzz::expect(ini.status() == platform::IniFile::Status::Read, "the file is read");
    QString section;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("[\r\n]")))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.contains(QLatin1Char(']')))
            section = trimmed.mid(1, trimmed.indexOf(QLatin1Char(']')) - 1);
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString value = ini.value(section, line.left(equals), QStringLiteral("<default>"));
        fuzz::expect(value.size() <= platform::IniFile::MaxValueLength,
                     "a value keeps at most 2047 characters");
    }
    fuzz::expect(ini.value(QStringLiteral("no such section"), QStringLiteral("key"), QStringLiteral("d")) ==
                     QStringLiteral("d"),
                 "a missing section gives the default");
    return 0;
}
