#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A real process standing in for the running game: a copy of `sleep` under a game's file name, or
// `sleep` started with a Windows path as its first argument, the way Wine shows a running game. It is
// killed when the fixture goes.
class GameStandIn
{
public:
    enum class Kind
    {
        LinuxPath,  // the program file ".../Games/NFS/NFSHS.EXE"
        WindowsPath // first argument "C:\Games\NFS\nfshs.exe", process name "sleep"
    };

    GameStandIn() = default;
    ~GameStandIn();
    GameStandIn(const GameStandIn&) = delete;
    GameStandIn& operator=(const GameStandIn&) = delete;

    // Starts it and waits until its first argument is the game's; false when that fails.
    bool start(Kind kind = Kind::LinuxPath);
    // Kills it and waits until it is gone from the process table.
    void stop();
    qint64 pid() const { return m_process.processId(); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};
