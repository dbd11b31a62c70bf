#pragma once

#include <QProcess>
#include <QString>

// A real process standing in for the running game: `sleep` started with the game's path as its first
// argument, as a natively started copy (".../NFSHS.EXE") or Wine ("C:\Games\NFS\nfshs.exe") shows it.
// It is killed when the fixture goes. A test's own process table (see HomeFolder) shows it too.
class GameStandIn
{
public:
    ~GameStandIn() { stop(); }

    // Starts it and waits until the process table shows `firstArgument`; false when that fails.
    bool start(const QString& firstArgument = QStringLiteral("/games/NFS/NFSHS.EXE"));
    // Kills it and waits until it has gone.
    void stop();
    qint64 pid() const { return m_process.processId(); }

private:
    QProcess m_process;
};
