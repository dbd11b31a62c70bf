#include "DefaultSkinIni.h"

#include "DefaultSkinLayout.h"

#include <QStringList>

namespace defaultskin {

namespace {

QString hotAreaLine(const char* id, const QRect& area, const QString& hint)
{
    return QStringLiteral("%1, %2, %3, %4, %5, %6")
        .arg(QLatin1String(id))
        .arg(area.x())
        .arg(area.y())
        .arg(area.width())
        .arg(area.height())
        .arg(hint);
}

} // namespace

QByteArray defaultSkinIni()
{
    const QStringList lines{
        QStringLiteral("[Version]"),
        QStringLiteral("Ver=210"),
        QString(),
        QStringLiteral("[BITMAPINFO]"),
        QStringLiteral("MaskBitmap=%1").arg(QLatin1String(MaskFile)),
        QStringLiteral("MouseUpBitmap=%1").arg(QLatin1String(RestFile)),
        QStringLiteral("MouseDownBitmap=%1").arg(QLatin1String(PressedFile)),
        QStringLiteral("MouseOnBitmap=%1").arg(QLatin1String(HoverFile)),
        QString(),
        QStringLiteral("[HOTAREAINFO]"),
        QStringLiteral("Count=3"),
        // Short: its tool tip, which opens below and to the right of the pointer, must end before the
        // exit button.
        QStringLiteral("1=") + hotAreaLine("Title", TitleArea, QStringLiteral("Rovex 1.0")),
        QStringLiteral("2=") + hotAreaLine("Flag", FlagArea, QStringLiteral("Удачных гонок!")),
        QStringLiteral("3=") + hotAreaLine("Exit", ExitRing, QStringLiteral("Выход (игра не запускается!)")),
        QString(),
        QStringLiteral("[DISPLAYINFO]"),
        QStringLiteral("Count=1"),
        QStringLiteral("Charset=1"),
        QStringLiteral(
            "1=Version, DejaVu Sans, TRUE, FALSE, 9, $D8E6F4, %1, %2, Font, v1.0, Rovex 1.0, 30, 14")
            .arg(TitleArea.right() + 6)
            .arg(TitleBump.top() + 28),
        QString(),
        QStringLiteral("[TRACKBARINFO]"),
        QStringLiteral("Count=0"),
    };
    return lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

} // namespace defaultskin
