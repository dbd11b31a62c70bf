// rovex-skin: loads a skin the way Rovex does, without a screen and without message boxes, and
// reports what it read or paints it, so skin authors can check their work.

#include "skin/SkinError.h"
#include "skin/SkinForm.h"
#include "skin/SkinMessages.h"
#include "tools/skincheck/SkinReport.h"

#include <QApplication>
#include <QJsonDocument>
#include <QWidget>

#include <cstdio>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitLoadFailed = 1;
constexpr int ExitUsage = 2;

const char* const Usage = R"(Usage:
  rovex-skin check SKIN.ini          load the skin and print what was read as one JSON object
  rovex-skin render SKIN.ini OUT.png load the skin and write its painted surface, transparent
                                     outside the window outline
  rovex-skin --help                  show this text

The JSON object holds: version, hover, images (mask, up, on, down, numbers, text as
[width, height]), region (area, bounds [left, top, right, bottom] with right and bottom
exclusive, rects; null without an outline), hotAreas, displays, trackBars, groups, and
messages (the texts of the message boxes a load shows, in order). When the load fails, or its
mask picture was refused so that the skin has no window, the object also holds "error" with the
message, and the exit code is 1.

Exit codes: 0 loaded; 1 the skin failed to load, its surface is empty (render) or the
picture could not be written; 2 wrong command line.
)";

class CollectedMessages final : public SkinMessages
{
public:
    QStringList texts;
    void show(const QString& text) override { texts.append(text); }
};

void print(FILE* stream, const QByteArray& text)
{
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stream);
}

} // namespace

int main(int argc, char* argv[])
{
    // No screen is needed; a platform given by the caller is respected.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);

    if (args.size() == 1 && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        print(stdout, Usage);
        return ExitOk;
    }
    const bool check = args.size() == 2 && args[0] == QLatin1String("check");
    const bool render = args.size() == 3 && args[0] == QLatin1String("render");
    if (!check && !render) {
        print(stderr, Usage);
        return ExitUsage;
    }

    QWidget window;
    TSkinForm skin(&window);
    CollectedMessages messages;
    skin.setMessages(&messages);
    QString error;
    try {
        skin.LoadSkin(args[1]);
    } catch (const SkinError& failure) {
        error = failure.message();
    }

    if (check) {
        // A loaded skin always has a mask picture unless it was refused by its GIF name: only a
        // warning to the component, but the skin has no window.
        if (error.isNull() && skin.MaskBitmap.isNull())
            error =
                QStringLiteral("The mask picture was refused (No GIF support!), so the skin has no window");
        QJsonObject report = skinReport(skin, messages.texts);
        if (!error.isNull())
            report.insert(QStringLiteral("error"), error);
        print(stdout, QJsonDocument(report).toJson(QJsonDocument::Indented));
        return error.isNull() ? ExitOk : ExitLoadFailed;
    }
    if (!error.isNull()) {
        print(stderr, error.toUtf8() + "\n");
        return ExitLoadFailed;
    }
    const QImage surface = skin.shapedSurface();
    if (surface.isNull()) {
        print(stderr, "Nothing to render: the skin's surface is empty (its mask picture is 0 x 0)\n");
        return ExitLoadFailed;
    }
    if (!surface.save(args[2], "PNG")) {
        print(stderr, QStringLiteral("Cannot write %1\n").arg(args[2]).toUtf8());
        return ExitLoadFailed;
    }
    return ExitOk;
}
