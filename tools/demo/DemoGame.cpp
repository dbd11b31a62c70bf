#include "tools/demo/DemoGame.h"

#include "core/SlotTable.h"

#include <QDir>
#include <QFile>

namespace demo {

QByteArray standardContents(const QString& slot, const QString& file)
{
    return QStringLiteral("standard %1 %2\r\n").arg(slot, file).toUtf8();
}

QString createGame(const QString& gameFolder, const QString& standinExecutable)
{
    for (const QString& slot : trackslots::SlotNames()) {
        const QString folder = gameFolder + QStringLiteral("/Data/Tracks/") + slot;
        if (!QDir().mkpath(folder))
            return QStringLiteral("cannot create %1").arg(folder);
        for (const QString& name : trackslots::TrackFileSet()) {
            QFile file(folder + QLatin1Char('/') + name);
            if (!file.open(QIODevice::WriteOnly) || file.write(standardContents(slot, name)) < 0)
                return QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
        }
    }
    const QString game = gameFolder + QStringLiteral("/nfshs.exe");
    if (!QFile::copy(standinExecutable, game))
        return QStringLiteral("cannot copy %1 to %2").arg(standinExecutable, game);
    QFile::setPermissions(game,
                          QFile::permissions(game) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    return {};
}

} // namespace demo
