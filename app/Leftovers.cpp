#include "app/Leftovers.h"

#include "app/SlotTable.h"
#include "platform/FileSystem.h"
#include "platform/ScratchFiles.h"

#include <QFileInfo>

namespace {

const QString NotChosen = QStringLiteral("не выбран");

// `folder` + `name`, with `name` spelled as the folder has it: the game keeps Windows name rules.
QString below(const QString& folder, const QString& name)
{
    return platform::fs::resolveIgnoringCase(folder + QLatin1Char('/') + name);
}

} // namespace

void removeLeftovers(const QString& homeDir, const QString& trackDir, const QString& gameDir)
{
    // The folder "options.dat" is written in: the home folder itself, also when its name was cut short.
    platform::removeScratchFiles(QFileInfo(homeDir + QStringLiteral("options.dat")).absolutePath());
    if (!trackDir.isEmpty() && trackDir != NotChosen) {
        platform::removeScratchFiles(trackDir + QStringLiteral("../Temp"));
        platform::removeScratchFiles(trackDir + QStringLiteral("../Temp1"));
        for (const QString& slot : trackslots::SlotNames())
            platform::removeScratchFiles(trackDir + slot);
    }
    if (!gameDir.isEmpty() && gameDir != NotChosen) {
        const QString tracks = below(below(gameDir, QStringLiteral("Data")), QStringLiteral("Tracks"));
        for (const QString& slot : trackslots::SlotNames())
            platform::removeScratchFiles(below(tracks, slot));
    }
}
