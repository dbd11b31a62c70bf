#pragma once

#include <QImage>
#include <QString>

class SkinMessages;

// The up to three characters after the first "." of `name`, a to z in capitals; empty without ".".
QString ExtensionOf(const QString& name);

// Loads the image file `fileName` (a full path) into `target`: Windows bitmaps and icons through Qt,
// JPEG through libjpeg. A GIF name (by the first "." of the file name) is refused with the message
// "No GIF support!" and leaves `target` as it was. Failures throw SkinError with the exact messages
// "Unknown picture file extension (.%s)", "Cannot open file %s", "Bitmap image is not valid",
// "JPEG error #%d"; `target` is then left as it was. The result is in QImage::Format_RGB32.
void LoadSkinImage(QImage& target, const QString& fileName, SkinMessages& messages);
