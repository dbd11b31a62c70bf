#include "app/VerifyCommand.h"

#include "app/FolderLock.h"
#include "app/InstallTracks.h"
#include "app/InstalledRecord.h"
#include "app/StandardFiles.h"
#include "app/StartLocks.h"
#include "core/IoError.h"
#include "core/Settings.h"
#include "core/SlotTable.h"
#include "core/SystemErrorText.h"
#include "platform/FileName.h"

#include <QDir>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const QString kNotChosen = QStringLiteral("не выбран");

VerifyResult failure(const QString& text)
{
    return {2, {}, text + QLatin1Char('\n')};
}

// Slot -> the files the installed add-on brought without replacing a standard file.
QMap<QString, QStringList> addOnOnlyFiles(const std::optional<installed::Record>& record,
                                          const QMap<QString, QString>& inGame)
{
    QMap<QString, QStringList> files;
    if (!record)
        return files;
    for (const installed::Slot& slot : record->archives) {
        if (!inGame.contains(slot.slot))
            continue;
        for (const QString& entry : slot.entries) {
            if (!entry.startsWith(QLatin1Char('0')) && !slot.entries.contains(QLatin1Char('0') + entry))
                files[slot.slot].append(entry);
        }
    }
    return files;
}

// The names of the slot's files that differ from the manifest: changed, gone or not in it.
QStringList differingFiles(const standard::Manifest& manifest, const QString& slot,
                           const QList<standard::StandardFile>& present)
{
    QStringList names;
    for (const standard::File& recorded : manifest.files) {
        if (recorded.slot != slot)
            continue;
        QString path;
        for (const standard::StandardFile& file : present) {
            if (file.name.compare(recorded.name, Qt::CaseInsensitive) == 0)
                path = file.path;
        }
        if (standard::compare(&recorded, path, manifest.taken, false) != standard::Verdict::Same)
            names.append(recorded.name);
    }
    for (const standard::StandardFile& file : present) {
        if (!manifest.find(slot, file.name))
            names.append(file.name);
    }
    return names;
}

} // namespace

VerifyResult verifyGame(const QString& homeDir, bool accept)
{
    std::optional<Settings> settings;
    try {
        settings = readSettings(homeDir + QStringLiteral("options.dat"));
    } catch (const IoError& error) {
        return failure(error.message());
    }
    if (!settings || settings->gameDir.isEmpty() || settings->gameDir == kNotChosen)
        return failure(QStringLiteral("Папка игры не выбрана: в папке %1 нет файла настроек options.dat "
                                      "с папкой игры. Запустите программу и укажите папку игры.")
                           .arg(QDir::toNativeSeparators(homeDir)));
    const QString gameDir = settings->gameDir;
    // A start of another copy moving files now would be caught half way.
    FolderLock lock(StartLocks::gameLockFile(gameDir));
    if (lock.take() == FolderLock::Outcome::HeldByAnother)
        return failure(QStringLiteral("С папкой игры %1 сейчас работает другая копия программы: "
                                      "дождитесь, пока та закончит, и повторите.")
                           .arg(gameDir));

    const std::optional<installed::Record> record =
        installed::read(homeDir + QStringLiteral("installed.dat"));
    const QMap<QString, QString> inGame =
        record ? installed::archivesInGame(*record, gameDir) : QMap<QString, QString>();
    const QMap<QString, QStringList> addOnOnly = addOnOnlyFiles(record, inGame);
    VerifyResult result;
    std::optional<standard::Manifest> manifest = standard::read(homeDir, gameDir);
    if (!manifest && !accept && standard::anySlotHoldsBackups(gameDir))
        return failure(QStringLiteral("Программа ещё не запомнила стандартные файлы игры %1, а в папках "
                                      "трасс уже лежат резервные копии с «0» в начале имени. Верните "
                                      "стандартные трассы (запуск игры в режиме стандартных трасс) и "
                                      "повторите.")
                           .arg(gameDir));
    if (!manifest || accept) {
        manifest = standard::take(gameDir, addOnOnly);
        if (!standard::write(homeDir, *manifest))
            return failure(QStringLiteral("Не удалось записать файл %1: %2.")
                               .arg(homeDir + QStringLiteral("standard.dat"), systemErrorInWords(errno)));
        result.errors = QStringLiteral("Стандартные файлы игры %1 запомнены.\n").arg(gameDir);
    }

    for (const QString& slot : trackslots::SlotNames()) {
        const QString folder = install::gameSlotFolder(gameDir, slot);
        const QStringList differing =
            differingFiles(*manifest, slot, standard::standardFilesIn(folder, addOnOnly.value(slot)));
        QString state;
        if (!differing.isEmpty())
            state = differing.join(QLatin1Char(' '));
        else if (inGame.contains(slot))
            state = QStringLiteral("add-on ") + platform::displayFileName(inGame.value(slot));
        else if (install::holdsBackups(folder))
            state = QStringLiteral("unknown add-on");
        else
            state = QStringLiteral("standard");
        if (!differing.isEmpty() || state == QLatin1String("unknown add-on"))
            result.exitCode = 1;
        result.output += slot + QLatin1Char('\t') + state + QLatin1Char('\n');
    }
    return result;
}

std::optional<int> runVerifyCommand(int argc, char* argv[])
{
    if (argc < 2 || std::strcmp(argv[1], "--verify") != 0)
        return std::nullopt;
    const bool accept = argc == 3 && std::strcmp(argv[2], "--accept") == 0;
    if (argc > 3 || (argc == 3 && !accept)) {
        std::fputs("Использование: rovex --verify [--accept]\n", stderr);
        return 2;
    }
    // The home folder, as a start with a window finds it: the current folder.
    const QString archiver = QDir::current().absoluteFilePath(QStringLiteral("7zip.exe"));
    const VerifyResult result =
        verifyGame(archiver.left(archiver.indexOf(QStringLiteral("7zip.exe"))), accept);
    std::fputs(result.output.toUtf8().constData(), stdout);
    std::fputs(result.errors.toUtf8().constData(), stderr);
    return result.exitCode;
}
