// Painting skins that hold the most items a skin file may, over a 4000 x 4000 mask: 100,000 checked
// hot areas of the window's size, the same scattered at random, 100,000 track bars with window-size
// thumbs, and 100,000 number displays with 1000-pixel digits. Prints the time of the load with its
// first paint (target: a few seconds) and of one hover repaint (target: under a frame, 16 ms), for
// moves inside one area and from area to area, alone and with the window's paint that shows them, in
// wall time and in processor time (the machine may be shared). Arguments name the skins to measure (window,
// scattered, bars, displays); none measures all.

#include "skin/SkinForm.h"
#include "skin/SkinMessages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

namespace {

constexpr int Side = 4000;
constexpr int Areas = 100000;

class SilentMessages final : public SkinMessages
{
public:
    void show(const QString&) override {}
};

double threadMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

void writeLook(const QString& path, QColor color)
{
    QImage look(Side, Side, QImage::Format_RGB32);
    look.fill(color);
    look.save(path, "BMP");
}

enum class Items
{
    WindowAreas,
    ScatteredAreas,
    TrackBars,
    Displays,
    FontDisplays
};

// Every area checked, so the painter copies each one's pressed look.
QByteArray itemLine(Items items, int i, QRandomGenerator& random)
{
    const QByteArray n = QByteArray::number(i);
    switch (items) {
    case Items::WindowAreas:
        return "A" + n + ", 0, 0, 4000, 4000, Hint, TRUE";
    case Items::ScatteredAreas: {
        const QByteArray side = QByteArray::number(random.bounded(1, Side));
        return "A" + n + ", " + QByteArray::number(random.bounded(Side)) + ", " +
               QByteArray::number(random.bounded(Side)) + ", " + side + ", " + side + ", Hint, TRUE";
    }
    case Items::TrackBars:
        return "T" + n + ", up.bmp, down.bmp, " + QByteArray::number(random.bounded(-Side, Side)) +
               ", 0, 8000, H, " + QByteArray::number(random.bounded(100));
    case Items::Displays:
        return "D" + n + ", Arial, FALSE, FALSE, 8, 0, " + QByteArray::number(random.bounded(-Side, Side)) +
               ", " + QByteArray::number(random.bounded(-Side, Side)) + ", Number, 0123456789";
    case Items::FontDisplays:
        // Sizes past the font engine's glyph cache, each its own, so that every text is drawn afresh.
        return "D" + n + ", DejaVu Sans, TRUE, FALSE, " + QByteArray::number(random.bounded(48, 3000)) +
               ", $0000FF, " + QByteArray::number(random.bounded(Side)) + ", " +
               QByteArray::number(random.bounded(Side)) + ", Font, 0123456789";
    }
    return {};
}

void writeSkin(const QString& folder, Items items)
{
    QRandomGenerator random(11);
    const char* section = items == Items::TrackBars                                  ? "TRACKBARINFO"
                          : items == Items::Displays || items == Items::FontDisplays ? "DISPLAYINFO"
                                                                                     : "HOTAREAINFO";
    QByteArray ini = "[Version]\r\nVer=210\r\n[BITMAPINFO]\r\nMaskBitmap=mask.bmp\r\nMouseUpBitmap=up.bmp\r\n"
                     "MouseDownBitmap=down.bmp\r\nMouseOnBitmap=on.bmp\r\nNumbersBitmap=numbers.bmp\r\n";
    // One area to hover over beside the track bars and displays.
    if (items != Items::WindowAreas && items != Items::ScatteredAreas)
        ini += "[HOTAREAINFO]\r\nCount=1\r\n1=Play, 1000, 1000, 2000, 2000, Hint\r\n";
    ini += "[" + QByteArray(section) + "]\r\nCount=" + QByteArray::number(Areas) + "\r\n";
    for (int i = 1; i <= Areas; ++i)
        ini += QByteArray::number(i) + "=" + itemLine(items, i, random) + "\r\n";
    QFile file(folder + "/skin.ini");
    if (file.open(QIODevice::WriteOnly))
        file.write(ini);
}

// Mean and worst of a series of times, in wall time and in processor time.
struct Times
{
    double total = 0;
    double worst = 0;
    double totalCpu = 0;
    double worstCpu = 0;

    void add(double ms, double cpuMs)
    {
        total += ms;
        worst = qMax(worst, ms);
        totalCpu += cpuMs;
        worstCpu = qMax(worstCpu, cpuMs);
    }
};

void measure(const QString& folder, const char* name)
{
    QWidget window;
    TSkinForm skin(&window);
    SilentMessages messages;
    skin.setMessages(&messages);
    QElapsedTimer timer;
    timer.start();
    skin.LoadSkin(folder + "/skin.ini");
    const double loadMs = timer.nsecsElapsed() / 1e6;
    window.show();
    QApplication::processEvents();

    constexpr int Moves = 200;
    QRandomGenerator random(5);
    Times moves;
    Times frames;
    for (int i = 0; i < Moves; ++i) {
        // Half the moves stay where the last one was, half jump anywhere.
        const int x = i % 2 ? random.bounded(Side) : 2000 + i % 7;
        const int y = i % 2 ? random.bounded(Side) : 2000 + i % 5;
        const double cpuStart = threadMs();
        timer.start();
        skin.MouseMove(TShiftState(), x, y);
        const double moveMs = timer.nsecsElapsed() / 1e6;
        const double moveCpuMs = threadMs() - cpuStart;
        // The window paints what changed.
        QApplication::processEvents();
        moves.add(moveMs, moveCpuMs);
        frames.add(timer.nsecsElapsed() / 1e6, threadMs() - cpuStart);
    }
    std::printf("%s: load with first paint %.0f ms (target a few s)\n", name, loadMs);
    for (const auto& [times, what] :
         {std::pair{&moves, "hover move"}, std::pair{&frames, "with its window paint"}})
        std::printf(
            "    %s: mean %.2f ms, worst %.2f ms (target < 16 ms); processor time mean %.2f ms, worst %.2f "
            "ms\n",
            what, times->total / Moves, times->worst, times->totalCpu / Moves, times->worstCpu);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    writeLook(dir.filePath("mask.bmp"), Qt::black);
    writeLook(dir.filePath("up.bmp"), Qt::gray);
    writeLook(dir.filePath("down.bmp"), Qt::red);
    writeLook(dir.filePath("on.bmp"), Qt::green);
    QImage numbers(11 * 1000, 1000, QImage::Format_RGB32);
    numbers.fill(Qt::blue);
    numbers.save(dir.filePath("numbers.bmp"), "BMP");
    const struct
    {
        const char* argument;
        Items items;
        const char* name;
    } skins[] = {{"window", Items::WindowAreas, "100,000 window-size areas"},
                 {"scattered", Items::ScatteredAreas, "100,000 scattered areas"},
                 {"bars", Items::TrackBars, "100,000 track bars"},
                 {"displays", Items::Displays, "100,000 number displays"},
                 {"fonts", Items::FontDisplays, "100,000 font displays"}};
    const QStringList chosen = app.arguments().mid(1);
    for (const auto& skin : skins) {
        if (!chosen.isEmpty() && !chosen.contains(QLatin1String(skin.argument)))
            continue;
        writeSkin(dir.path(), skin.items);
        measure(dir.path(), skin.name);
    }
    return 0;
}
