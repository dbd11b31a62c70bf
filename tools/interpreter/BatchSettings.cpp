#include "tools/interpreter/BatchSettings.h"

#include "platform/TextCodec.h"

#include <QFile>
#include <QRegularExpression>

namespace interpreter {
namespace {

// The value of `key` in `section` (names without regard to letter case; the first one wins), or a
// null string when there is none.
QString iniValue(const QString& text, const QString& section, const QString& key)
{
    QString currentSection;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (const QString& rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(u'[') && line.contains(u']')) {
            currentSection = line.mid(1, line.indexOf(u']') - 1).trimmed();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0 || currentSection.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        if (line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(equals + 1).trimmed();
    }
    return {};
}

} // namespace

int readTimeoutSeconds(const QString& pifPath)
{
    QFile file(pifPath);
    if (!file.open(QIODevice::ReadOnly))
        return defaultTimeoutSeconds;
    const QString text = platform::decodeText(file.readAll());
    bool ok = false;
    const int seconds = iniValue(text, QStringLiteral("Batch"), QStringLiteral("Timeout")).toInt(&ok);
    return ok && seconds > 0 ? seconds : defaultTimeoutSeconds;
}

} // namespace interpreter
