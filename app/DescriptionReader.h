#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Reads a possible track description line by line. Archives bring anything, so a line keeps at most
// MaxLineBytes bytes (the rest of it is skipped) and the file is read in bounded chunks: a huge or
// binary file costs time in proportion to its size, never memory. Lines end at LF, CR LF or CR; each
// is decoded as UTF-8, or as Windows-1251 when it is not valid UTF-8.
class DescriptionReader
{
public:
    static constexpr qsizetype MaxLineBytes = 64 * 1024;

    // Throws IoError when the file cannot be opened.
    explicit DescriptionReader(const QString& path);

    // The next line; false at the end of the file. Throws IoError when reading fails.
    bool readLine(QString& line);

private:
    bool refill();

    QFile m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_skipLineFeed = false; // the last line ended at a CR: an LF right after it belongs to it
};
