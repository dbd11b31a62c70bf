#include "app/StartReport.h"

#include "core/SlotTable.h"
#include "core/SystemErrorText.h"
#include "platform/FileName.h"

namespace {

// As the user knows the slot: the Russian name of its hint and the caption of its check box.
QString slotLabel(const QString& slot)
{
    const trackslots::SlotRow* row = trackslots::findSlot(slot);
    if (!row)
        return slot;
    return QStringLiteral("%1 (%2)").arg(QString::fromUtf8(row->hint), QString::fromUtf8(row->caption));
}

QString startingSmall(QString sentence)
{
    if (!sentence.isEmpty())
        sentence[0] = sentence.at(0).toLower();
    return sentence;
}

QString section(const QString& heading, const QStringList& lines, const QString& footer = QString())
{
    if (lines.isEmpty())
        return {};
    QString text = QStringLiteral("\n\n") + heading + QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
    if (!footer.isEmpty())
        text += QLatin1Char('\n') + footer;
    return text;
}

} // namespace

void StartReport::notInstalled(const QString& slot, const QString& archive, const QString& reason)
{
    m_notInstalled.append(
        QStringLiteral("• %1, архив %2: %3.")
            .arg(slotLabel(slot), platform::displayFileName(archive), startingSmall(reason)));
}

void StartReport::notRestored(const QString& slot, const QStringList& names, int error)
{
    if (names.isEmpty())
        return;
    m_notRestored.append(
        QStringLiteral("• %1: %2 (%3).")
            .arg(slotLabel(slot), names.join(QStringLiteral(", ")), systemErrorInWords(error)));
}

void StartReport::notFlushed(const QString& slot, int error)
{
    m_notFlushed.append(QStringLiteral("• %1 (%2).").arg(slotLabel(slot), systemErrorInWords(error)));
}

void StartReport::notStandard(const QMap<QString, QStringList>& differences)
{
    for (auto slot = differences.begin(); slot != differences.end(); ++slot)
        m_notStandard.append(
            QStringLiteral("• %1: %2.").arg(slotLabel(slot.key()), slot.value().join(QStringLiteral(", "))));
}

bool StartReport::isEmpty() const
{
    return !hasFailures() && m_notStandard.isEmpty();
}

bool StartReport::hasFailures() const
{
    return !m_notInstalled.isEmpty() || !m_notRestored.isEmpty() || !m_notFlushed.isEmpty();
}

QString StartReport::text(bool gameStarts) const
{
    QString text = hasFailures() ? QStringLiteral("Подготовка игры закончилась с ошибками.")
                                 : QStringLiteral("Подготовка игры закончилась.");
    text += section(QStringLiteral("Не установлены трассы:"), m_notInstalled);
    text += section(QStringLiteral("Не удалось вернуть на место стандартные файлы:"), m_notRestored,
                    QStringLiteral("Они остались в папке трассы под именами с «0» в начале; программа "
                                   "вернёт их при следующем запуске."));
    text += section(QStringLiteral("Изменения в папках трасс могли не сохраниться на диске:"), m_notFlushed,
                    QStringLiteral("При следующем запуске программа ещё раз вернёт стандартные файлы."));
    text += section(QStringLiteral("Стандартные файлы трасс не такие, какими программа их запомнила:"),
                    m_notStandard,
                    QStringLiteral("Программа ничего не отменила из-за этого. Если файлы изменили вы сами, "
                                   "запомните их заново командой «rovex --verify --accept»."));
    if (gameStarts)
        text += QStringLiteral("\n\nИгра будет запущена.");
    return text;
}
