#pragma once

#include <QtGlobal>

#include <cstddef>

// The CRC-32 of gzip and zip (reflected polynomial 0xEDB88320), kept running over data that comes in
// pieces.
class Crc32
{
public:
    void add(const void* data, size_t size);
    quint32 value() const { return ~m_register; }

    // The CRC-32 of two pieces one after the other, from the CRC-32 of each and the second's length.
    static quint32 joined(quint32 first, quint32 second, quint64 secondLength);

private:
    quint32 m_register = 0xFFFFFFFF;
};
