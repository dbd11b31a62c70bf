#include "platform/HelpViewer.h"

#include <QFileInfo>
#include <QUrl>

namespace platform {

HelpViewer::HelpViewer(QWidget* parent)
    : QTextBrowser(parent)
{
    setWindowFlag(Qt::Window);
    setOpenExternalLinks(true);
    resize(640, 520);
}

QString HelpViewer::contentsPage(const QString& helpFile)
{
    const QFileInfo info(helpFile);
    return info.path() + QStringLiteral("/help/") + info.completeBaseName() + QStringLiteral(".html");
}

bool HelpViewer::showContents(const QString& helpFile)
{
    const QString page = contentsPage(helpFile);
    if (!QFileInfo(page).isFile())
        return false;
    setSource(QUrl::fromLocalFile(page));
    setWindowTitle(documentTitle().isEmpty() ? QStringLiteral("Rovex") : documentTitle());
    show();
    raise();
    activateWindow();
    return true;
}

} // namespace platform
