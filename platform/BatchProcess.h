#pragma once

#include "platform/Process.h"

#include <QObject>
#include <QProcess>

namespace platform {

// A batch started as winExec starts it, but kept as a child of this process, so that whoever waits
// for it can tell when the command interpreter has ended and can stop it together with every program
// it started. The interpreter runs in a process group of its own and is killed when this process
// ends, so a batch never outlives the program that waits for it.
class BatchProcess : public QObject
{
    Q_OBJECT

public:
    explicit BatchProcess(QObject* parent = nullptr);
    // Stops whatever of the batch still runs.
    ~BatchProcess() override;

    StartResult start(const QString& commandLine);
    bool hasEnded() const;
    // Waits up to `milliseconds` for the interpreter to end by itself.
    bool waitForEnd(int milliseconds);
    // Kills the interpreter and every program of its group, and returns once none of them runs.
    void stop();

signals:
    void ended();

private:
    QProcess m_process;
    qint64 m_group = 0;
};

// How long whoever waits for a batch lets it run before stopping it, in milliseconds: ten minutes
// unless set; 0 sets it back. Tests shorten it, so that a batch that never ends fails them at once.
int batchTimeLimit();
void setBatchTimeLimit(int milliseconds);

} // namespace platform
