#pragma once

#include <QtGlobal>

// What one archive may put on disk. A track is a few megabytes; these stop an archive made to fill
// the disk long before it does. --help states the standard values.
struct Limits
{
    qint64 totalBytes = qint64(2) << 30;      // all extracted files together
    qint64 fileBytes = qint64(512) << 20;     // one extracted file
    qint64 ratioFreeBytes = qint64(16) << 20; // written whatever the size of the archive...
    qint64 ratio = 1000;                      // ...beyond them, at most this many bytes per byte of archive
    qint64 entries = 100000;                  // entries in the archive, extracted or not
};

// The running count of bytes written against the limits, for an archive of `archiveBytes`.
class OutputBudget
{
public:
    OutputBudget(const Limits& limits, qint64 archiveBytes);

    // Whether a file may reach `fileEnd` bytes on top of what earlier files took; says why not.
    bool allows(qint64 fileEnd, QString* why) const;

    // Counts a finished file of `bytes`.
    void add(qint64 bytes) { m_written += bytes; }

private:
    Limits m_limits;
    qint64 m_ratioBytes;
    qint64 m_written = 0;
};
