#pragma once

#include <QByteArray>
#include <QString>

// A file written under a temporary name in its target's folder and renamed over the target once
// whole, so that whoever waits for the target never sees it half-written. Nothing is flushed to the
// disk: the interpreter writes only markers and statuses, which a crash makes worthless anyway (Rovex
// removes them at its next start), and a flush costs a turn of the disk on every batch.
namespace interpreter {

class ReplacingFile
{
public:
    explicit ReplacingFile(const QString& target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Each returns an error text, empty on success.
    QString open();
    QString write(const char* data, qint64 size);
    QString commit();

private:
    QString failure(int error) const;

    QString m_target;
    QByteArray m_temporary;
    int m_fd = -1;
};

} // namespace interpreter
