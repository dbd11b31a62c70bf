#pragma once

#include <QByteArray>
#include <QImage>

// Largest JPEG the skin reader decodes; larger declared sizes are refused before anything is allocated.
inline constexpr int MaxJpegSide = 32767;
inline constexpr qint64 MaxJpegPixels = 64LL * 1024 * 1024;

// Decodes the JPEG file contents `data` at full scale with libjpeg's accurate decoder into an image in
// QImage::Format_RGB32. Returns 0 on success; otherwise libjpeg's message code, `image` untouched.
// A file that ends before its last scan (libjpeg's "Premature end of JPEG file" warning) counts as an
// error too: libjpeg would pad the missing rows with grey. Other warnings are ignored, as libjpeg does.
// An image larger than the limits above fails with libjpeg's "image too big" code.
int DecodeJpeg(const QByteArray& data, QImage& image);
