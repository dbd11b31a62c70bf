#include "app/StandardCheck.h"

#include "app/InstallTracks.h"
#include "core/SlotTable.h"
#include "platform/FileSystem.h"

namespace fs = platform::fs;

namespace {

bool isTrackFileName(const QString& name)
{
    return trackslots::TrackFileSet().contains(name, Qt::CaseInsensitive);
}

// `name` as `names` spell it, an exact match first; empty when none matches.
QString spelledAs(const QStringList& names, const QString& name)
{
    if (names.contains(name))
        return name;
    for (const QString& candidate : names) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return {};
}

} // namespace

StandardCheck::StandardCheck(const QString& homeDir, const QString& gameDir)
    : m_homeDir(homeDir)
    , m_gameDir(gameDir)
{
    standard::takeAtFirstSight(homeDir, gameDir);
    m_manifest = standard::read(homeDir, gameDir);
}

void StandardCheck::noteBackups()
{
    for (const QString& slot : trackslots::SlotNames()) {
        for (const QString& backup :
             fs::findEntries(install::gameSlotFolder(m_gameDir, slot), QStringLiteral("0*.*"))) {
            if (isTrackFileName(backup.mid(1)))
                m_backups[slot].append(backup.mid(1));
        }
    }
}

void StandardCheck::compareRestored()
{
    if (!m_manifest) {
        standard::takeAtFirstSight(m_homeDir, m_gameDir);
        m_manifest = standard::read(m_homeDir, m_gameDir);
        return;
    }
    for (auto slot = m_backups.begin(); slot != m_backups.end(); ++slot) {
        const QString folder = install::gameSlotFolder(m_gameDir, slot.key());
        const QStringList names = fs::findEntries(folder, QStringLiteral("*.*"));
        for (const QString& name : slot.value()) {
            // One still under its backup name was not restored: the start report tells that already.
            if (!spelledAs(names, QLatin1Char('0') + name).isEmpty())
                continue;
            const QString restored = spelledAs(names, name);
            compare(slot.key(), name, restored.isEmpty() ? QString() : folder + restored);
        }
    }
}

void StandardCheck::compareBeforeBackup(const QString& slot, const QString& slotFolder, const QString& work)
{
    if (!m_manifest)
        return;
    const QStringList names = fs::findEntries(slotFolder, QStringLiteral("*.*"));
    for (const QString& name : fs::findEntries(work, QStringLiteral("*.*"))) {
        if (!isTrackFileName(name) || !fs::fileExists(work + QLatin1Char('/') + name))
            continue;
        const QString standardName = spelledAs(names, name);
        // An add-on file that takes no standard file's place touches nothing standard.
        if (!standardName.isEmpty() || m_manifest->find(slot, name))
            compare(slot, name, standardName.isEmpty() ? QString() : slotFolder + standardName);
    }
}

void StandardCheck::compare(const QString& slot, const QString& name, const QString& path)
{
    const standard::Verdict verdict =
        standard::compare(m_manifest->find(slot, name), path, m_manifest->taken, true);
    if (verdict == standard::Verdict::Same)
        return;
    const QString what = verdict == standard::Verdict::Changed   ? QStringLiteral("изменён")
                         : verdict == standard::Verdict::Missing ? QStringLiteral("пропал")
                                                                 : QStringLiteral("новый");
    m_differences[slot].append(QStringLiteral("%1 (%2)").arg(name, what));
}
