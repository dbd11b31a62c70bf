#include "app/TrackIdentifier.h"

#include "core/SlotTable.h"

namespace trackid {

bool isDescriptionCandidate(const QString& entryName)
{
    return !trackslots::TrackFileSet().contains(entryName, Qt::CaseSensitive);
}

QStringList slotsNamedIn(const QString& line)
{
    const QString upper = line.toUpper();
    QStringList found;
    for (const QString& slot : trackslots::SlotNames()) {
        if (upper.contains(slot.toUpper()))
            found.append(slot);
    }
    return found;
}

QString slotQuestion(const QString& caption, const QString& slot, const QString& hint)
{
    const QString lineBreak = QStringLiteral("\n\r");
    return QStringLiteral("Предположительно это трасса: ") + lineBreak + caption + QStringLiteral(" (") +
           slot + QStringLiteral("/") + hint + QStringLiteral(")") + lineBreak +
           QStringLiteral("Переместить файл в соответствующую папку?") + lineBreak +
           QStringLiteral("Ответ \"нет\" - продолжим определение этой трассы.");
}

QString forDisplay(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

} // namespace trackid
