#include "app/Layout.h"
#include "app/QtTranslation.h"
#include "app/main_window.h"

#include <QApplication>
#include <QIcon>

namespace {

QIcon windowIcon()
{
    // The icon's pictures lie beside the program.
    const QString folder = QApplication::applicationDirPath() + QStringLiteral("/icon/");
    QIcon icon;
    icon.addFile(folder + QStringLiteral("rovex32.png"), QSize(32, 32));
    icon.addFile(folder + QStringLiteral("rovex16.png"), QSize(16, 16));
    return icon;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(layout::ApplicationTitle));
    QApplication::setWindowIcon(windowIcon());
    installQtTranslation(application);

    TForm1 form;
    if (!form.FormCreate())
        return 0;
    // The skin may have given the window another size.
    form.centreOnScreen();
    form.show();
    QApplication::exec();
    return 0;
}
