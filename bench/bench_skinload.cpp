// Loads a skin the size of the default one (595 x 510, a shaped mask, a dozen items) without message
// boxes and prints the time per load; the target is under 50 ms.

#include "skin/SkinForm.h"
#include "skin/SkinMessages.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>

namespace {

class SilentMessages final : public SkinMessages
{
public:
    void show(const QString&) override {}
};

void writeSkin(const QString& folder)
{
    QImage mask(595, 510, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter painter(&mask);
    painter.setBrush(Qt::darkGray);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRect(5, 5, 585, 500), 40, 40);
    painter.drawEllipse(QRect(480, 0, 60, 60));
    painter.end();
    mask.save(folder + "/mask.bmp", "BMP");
    for (const char* name : {"up", "down", "on"}) {
        QImage look = mask;
        look.invertPixels();
        look.save(folder + QStringLiteral("/%1.bmp").arg(QLatin1String(name)), "BMP");
    }
    QImage(110, 12, QImage::Format_RGB32).save(folder + "/numbers.bmp", "BMP");
    QImage(300, 36, QImage::Format_RGB32).save(folder + "/text.bmp", "BMP");
    QImage(10, 6, QImage::Format_RGB32).save(folder + "/thumb.bmp", "BMP");

    QByteArray ini = "[Version]\r\nVer=210\r\n[BITMAPINFO]\r\nMaskBitmap=mask.bmp\r\nMouseUpBitmap=up.bmp\r\n"
                     "MouseDownBitmap=down.bmp\r\nMouseOnBitmap=on.bmp\r\nNumbersBitmap=numbers.bmp\r\n"
                     "TextBitmap=text.bmp\r\n[HOTAREAINFO]\r\nCount=8\r\n";
    for (int i = 1; i <= 8; ++i)
        ini += QByteArray::number(i) + "=Area" + QByteArray::number(i) + ", " + QByteArray::number(i * 40) +
               ", 30, 25, 25, Hint " + QByteArray::number(i) + (i > 5 ? ", FALSE, Modes" : "") + "\r\n";
    ini += "[DISPLAYINFO]\r\nCount=3\r\n1=Clock, Arial, FALSE, FALSE, 8, $00FF00, 20, 470, Number, 12 30\r\n"
           "2=Title, Arial, FALSE, FALSE, 8, $00FF00, 20, 480, Text, ROVEX\r\n"
           "3=Note, Arial, TRUE, FALSE, 10, $0000FF, 20, 490, Font, Hello\r\n"
           "[TRACKBARINFO]\r\nCount=1\r\n1=Vol, thumb.bmp, thumb.bmp, 100, 450, 200, H, 50\r\n";
    QFile file(folder + "/skin.ini");
    if (file.open(QIODevice::WriteOnly))
        file.write(ini);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    writeSkin(dir.path());

    QWidget window;
    TSkinForm skin(&window);
    SilentMessages messages;
    skin.setMessages(&messages);

    constexpr int Rounds = 20;
    QElapsedTimer timer;
    qint64 best = -1;
    qint64 total = 0;
    for (int i = 0; i < Rounds; ++i) {
        timer.start();
        skin.LoadSkin(dir.filePath("skin.ini"));
        const qint64 elapsed = timer.nsecsElapsed();
        total += elapsed;
        best = best < 0 ? elapsed : qMin(best, elapsed);
    }
    std::printf(
        "skin load (595 x 510, 12 items): best %.2f ms, mean %.2f ms over %d loads (target < 50 ms)\n",
        best / 1e6, total / 1e6 / Rounds, Rounds);
    return 0;
}
