#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// What did not go as asked in one start command, told to the user in one message before the game
// starts: the slots left standard and why, standard files left under their backup names, slot
// folders whose changes may not have reached the disk, and standard files that are not as they were.
class StartReport
{
public:
    // `reason`: a sentence as BatchRunner::reason() gives it, or one of this program's own.
    void notInstalled(const QString& slot, const QString& archive, const QString& reason);
    void notRestored(const QString& slot, const QStringList& names, int error);
    void notFlushed(const QString& slot, int error);
    // Standard files that differ from what the program first saw (slot -> files with what is wrong):
    // told beside the rest, but no failure of the run.
    void notStandard(const QMap<QString, QStringList>& differences);

    bool isEmpty() const;
    bool hasFailures() const;
    // The message; `gameStarts` adds that the game is started all the same.
    QString text(bool gameStarts) const;

private:
    QStringList m_notInstalled;
    QStringList m_notRestored;
    QStringList m_notFlushed;
    QStringList m_notStandard;
};
