#include "app/main_window.h"
#include "platform/Dialogs.h"
#include "platform/FileName.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {

// The local paths of a drag, or none when anything in it is not a local file or folder.
QStringList droppedPaths(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        paths.append(platform::localPathOfUrl(url));
    }
    return paths;
}

QString namesOf(const QStringList& paths)
{
    QStringList names;
    for (const QString& path : paths) {
        // A folder's address may end with "/".
        const QString name = QFileInfo(QDir::cleanPath(path)).fileName();
        names.append(QStringLiteral("\"%1\"").arg(platform::displayFileName(name.isEmpty() ? path : name)));
    }
    return names.join(QStringLiteral(", "));
}

} // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    // One archive at a time: while one is being filed, the window takes no other.
    if (!m_addRunning && !droppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event)
{
    const QStringList paths = droppedPaths(event->mimeData());
    if (m_addRunning || paths.isEmpty())
        return;
    event->acceptProposedAction();
    // The drag's source waits for the drop to end: the add command, with its questions and its wait
    // for the archiver, runs once it has.
    QMetaObject::invokeMethod(
        this, [this, paths] { fileDroppedArchives(paths); }, Qt::QueuedConnection);
}

void TForm1::fileDroppedArchives(const QStringList& paths)
{
    if (!libraryChosen())
        return;
    QStringList folders;
    QStringList files;
    for (const QString& path : paths)
        (platform::fs::folderExists(path) ? folders : files).append(path);

    // Several archives are filed one after another, each as if it had been picked on its own.
    QStringList notFiled;
    for (const QString& file : files) {
        if (!AddTrackArchive(file))
            notFiled.append(file);
    }

    QStringList told;
    if (!folders.isEmpty())
        told.append(QStringLiteral("Папки в библиотеку не добавляются: %1. Перетащите на окно сами архивы "
                                   "с трассами (файлы .zip).")
                        .arg(namesOf(folders)));
    // One archive tells its outcome in RBar, as when it is picked; of several only the last would show.
    if (files.size() > 1 && !notFiled.isEmpty())
        told.append(QStringLiteral("Не добавлены в библиотеку: %1. Положите их в папки трасс вручную.")
                        .arg(namesOf(notFiled)));
    else if (files.size() > 1)
        told.append(QStringLiteral("Все перетащенные архивы (%1) добавлены в библиотеку.").arg(files.size()));
    if (!told.isEmpty())
        platform::dialogs().message(this, told.join(QLatin1Char('\n')));
}
