#pragma once

#include <QByteArray>
#include <QImage>

// Largest JPEG the skin reader decodes; larger declared sizes are refused before anything is allocated.
inline constexpr int MaxJpegSide = 32767;
inline constexpr qint64 MaxJpegPixels = 64LL * 1024 * 1024;
// A progressive picture needs a dozen scans; each scan of a large one takes a while to decode.
inline constexpr int MaxJpegScans = 100;
// What DecodeJpeg returns when the picture and the decoder's own memory would pass the memory limit.
inline constexpr int JpegOverMemoryLimit = -1;

// Decodes the JPEG file contents `data` at full scale with libjpeg's accurate decoder into an image in
// QImage::Format_RGB32. Returns 0 on success; otherwise libjpeg's message code, `image` untouched.
// A file that ends before its last scan (libjpeg's "Premature end of JPEG file" warning) counts as an
// error too: libjpeg would pad the missing rows with grey; so does a Huffman-coded file too small to
// hold one bit for each block of the size it declares. Other warnings are ignored, as libjpeg does.
// An image larger than the limits above fails with libjpeg's "image too big" code, one with more than
// MaxJpegScans scans with its "invalid progressive parameters" code. The decoded picture (4 bytes a
// pixel) and the decoder's own memory together may take `memoryLimit` bytes; past that the result
// is JpegOverMemoryLimit, found before the memory is taken.
int DecodeJpeg(const QByteArray& data, QImage& image, qint64 memoryLimit = 512LL * 1024 * 1024);
