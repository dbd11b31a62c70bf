#include "app/Layout.h"
#include "app/QtTranslation.h"
#include "app/SkinStyle.h"
#include "app/VerifyCommand.h"
#include "app/main_window.h"

#include <QApplication>
#include <QIcon>

namespace {

QIcon windowIcon()
{
    // The icon's pictures lie beside the program.
    const QString folder = QApplication::applicationDirPath() + QStringLiteral("/icon/");
    QIcon icon;
    for (const int size : {256, 128, 64, 48, 32, 16})
        icon.addFile(folder + QStringLiteral("rovex%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

int main(int argc, char* argv[])
{
    // The check of the game's track files needs no window, and so no display.
    if (const std::optional<int> exitCode = runVerifyCommand(argc, argv))
        return *exitCode;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(layout::ApplicationTitle));
    // Desktops match the window to its menu entry (and so to its icon) by this name.
    QApplication::setDesktopFileName(QStringLiteral("org.rovex.Rovex"));
    QApplication::setWindowIcon(windowIcon());
    installQtTranslation(application);
    QApplication::setStyle(new SkinStyle);

    TForm1 form;
    if (!form.FormCreate())
        return 0;
    // The skin may have given the window another size.
    form.centreOnScreen();
    form.show();
    QApplication::exec();
    return 0;
}
