#include "tools/archiver/Crc32.h"

#include <QtEndian>

namespace {

constexpr quint32 Polynomial = 0xEDB88320;

// Eight tables, so that eight bytes are taken at a time: a track archive's megabytes cost a fraction
// of their inflating.
struct Tables
{
    quint32 byShift[8][256];
};

constexpr Tables makeTables()
{
    Tables tables{};
    for (quint32 byte = 0; byte < 256; ++byte) {
        quint32 crc = byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1 ? (crc >> 1) ^ Polynomial : crc >> 1;
        tables.byShift[0][byte] = crc;
    }
    for (int shift = 1; shift < 8; ++shift) {
        for (int byte = 0; byte < 256; ++byte) {
            const quint32 previous = tables.byShift[shift - 1][byte];
            tables.byShift[shift][byte] = (previous >> 8) ^ tables.byShift[0][previous & 0xFF];
        }
    }
    return tables;
}

constexpr Tables tables = makeTables();

// The product of two polynomials modulo the CRC's, both in the reflected form (bit 31 is x^0).
quint32 multiplied(quint32 a, quint32 b)
{
    quint32 product = 0;
    for (quint32 term = 0x80000000; term != 0; term >>= 1) {
        if (a & term)
            product ^= b;
        b = b & 1 ? (b >> 1) ^ Polynomial : b >> 1;
    }
    return product;
}

// x to the power 8 × `bytes` modulo the CRC's polynomial: what appending that many bytes does to a CRC.
quint32 shiftFor(quint64 bytes)
{
    quint32 result = 0x80000000;     // 1
    quint32 power = 0x80000000 >> 8; // x^8
    for (; bytes != 0; bytes >>= 1) {
        if (bytes & 1)
            result = multiplied(result, power);
        power = multiplied(power, power);
    }
    return result;
}

} // namespace

void Crc32::add(const void* data, size_t size)
{
    const auto* p = static_cast<const uchar*>(data);
    const auto& t = tables.byShift;
    quint32 crc = m_register;
    for (; size >= 8; size -= 8, p += 8) {
        const quint32 low = qFromLittleEndian<quint32>(p) ^ crc;
        const quint32 high = qFromLittleEndian<quint32>(p + 4);
        crc = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
              t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
    }
    for (; size > 0; --size, ++p)
        crc = (crc >> 8) ^ t[0][(crc ^ *p) & 0xFF];
    m_register = crc;
}

quint32 Crc32::joined(quint32 first, quint32 second, quint64 secondLength)
{
    return multiplied(shiftFor(secondLength), first) ^ second;
}
