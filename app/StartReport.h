#pragma once

#include <QString>
#include <QStringList>

// What did not go as asked in one start command, told to the user in one message before the game
// starts: the slots left standard and why, standard files left under their backup names, and slot
// folders whose changes may not have reached the disk.
class StartReport
{
public:
    // `reason`: a sentence as BatchRunner::reason() gives it, or one of this program's own.
    void notInstalled(const QString& slot, const QString& archive, const QString& reason);
    void notRestored(const QString& slot, const QStringList& names, int error);
    void notFlushed(const QString& slot, int error);

    bool isEmpty() const;
    // The message; `gameStarts` adds that the game is started all the same.
    QString text(bool gameStarts) const;

private:
    QStringList m_notInstalled;
    QStringList m_notRestored;
    QStringList m_notFlushed;
};
