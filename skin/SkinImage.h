#pragma once

#include <QHash>
#include <QImage>
#include <QString>

class SkinMessages;

// The largest picture file read: a bigger one cannot hold a picture within the reader's pixel limit
// (64 Mi pixels of at most 4 bytes, plus room for headers and palettes).
inline constexpr qint64 MaxPictureFileBytes = 64LL * 1024 * 1024 * 4 + 1024 * 1024;

// The up to three characters after the first "." of `name`, a to z in capitals; empty without ".".
QString ExtensionOf(const QString& name);

// Loads the image file `fileName` (a full path) into `target`: Windows bitmaps and icons through Qt
// (run-length encoded bitmaps through our own decoder, which makes pixels no run sets black), JPEG
// through libjpeg, each strictly by the extension after the last "." (the content never picks
// another decoder). A GIF name (by the first "." of the file name) is refused with the message
// "No GIF support!" and leaves `target` as it was; the result is then false. Only regular files of at
// most MaxPictureFileBytes are read, found by the bytes of their name (names that are not UTF-8 keep
// them, see platform/FileName.h) and named in messages as platform::displayFileName shows them.
// Failures throw SkinError with the exact messages "Unknown picture file extension (.%s)", "Cannot
// open file %s", "Bitmap image is not valid" (also for a bitmap whose pixel data is cut short),
// "JPEG error #%d", "File %s is too large (over N MB)", or, past the default budget of
// SkinPictures, "Skin pictures exceed N MB of memory at file %s"; `target` is then left as it was.
// The result is in QImage::Format_RGB32.
bool LoadSkinImage(QImage& target, const QString& fileName, SkinMessages& messages);

// The pictures of one skin load. Each file is decoded once and shared by every bitmap that names it
// (QImage shares its pixels), so memory grows with the distinct pictures, not with the items; the
// decoded pictures together, with the memory the decoder of the one being read takes, may not exceed
// the budget.
class SkinPictures
{
public:
    static constexpr qint64 DefaultBudgetBytes = 512LL * 1024 * 1024;

    explicit SkinPictures(SkinMessages& messages, qint64 budgetBytes = DefaultBudgetBytes);

    // LoadSkinImage, sharing a file decoded before. A picture that would take the decoded pictures
    // past the budget throws SkinError("Skin pictures exceed N MB of memory at file %s").
    void load(QImage& target, const QString& fileName);

private:
    SkinMessages& m_messages;
    qint64 m_budgetBytes;
    qint64 m_usedBytes = 0;
    QHash<QString, QImage> m_decoded;
};
