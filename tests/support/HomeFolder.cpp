#include "tests/support/HomeFolder.h"

#include "platform/BatchProcess.h"
#include "platform/RunningGame.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

HomeFolder::HomeFolder(const QString& archiver)
    : m_previous(QDir::currentPath())
{
    if (!m_dir.isValid())
        return;
    const QString archiverCopy = path(QStringLiteral("7zip.exe"));
    const bool archiverPlaced = archiver.isEmpty()
                                    ? !writeFile(QStringLiteral("7zip.exe"), "placeholder").isEmpty()
                                    : QFile::link(archiver, archiverCopy);
    writeFile(QStringLiteral("extrc.pif"), "hidden\r\n");
    for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "WINEPREFIX"})
        m_environment.insert(variable,
                             qEnvironmentVariableIsSet(variable) ? qgetenv(variable) : QByteArray());
    qputenv("HOME", QFile::encodeName(path(QStringLiteral("user"))));
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "WINEPREFIX"})
        qunsetenv(variable);
    platform::setProcessTable(m_processes.path());
    // A batch that never ends fails the test within seconds, not at the test runner's time-out.
    platform::setBatchTimeLimit(10000);
    m_valid = archiverPlaced && m_processes.isValid() && QDir::setCurrent(m_dir.path());
}

HomeFolder::~HomeFolder()
{
    for (auto variable = m_environment.begin(); variable != m_environment.end(); ++variable) {
        if (variable.value().isNull())
            qunsetenv(variable.key().constData());
        else
            qputenv(variable.key().constData(), variable.value());
    }
    platform::setProcessTable(QString());
    platform::setBatchTimeLimit(0);
    QDir::setCurrent(m_previous);
}

QString HomeFolder::path() const
{
    return m_dir.path() + QLatin1Char('/');
}

QString HomeFolder::path(const QString& relative) const
{
    return path() + relative;
}

QString HomeFolder::writeFile(const QString& relative, const QByteArray& contents) const
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        return QString();
    return full;
}

QByteArray HomeFolder::readFile(const QString& relative) const
{
    QFile file(path(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString HomeFolder::makeFolder(const QString& relative) const
{
    QDir().mkpath(path(relative));
    return path(relative) + QLatin1Char('/');
}

void HomeFolder::writeOptions(const QStringList& lines) const
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    writeOptionsBytes(bytes);
}

void HomeFolder::writeOptionsBytes(const QByteArray& bytes) const
{
    writeFile(QStringLiteral("options.dat"), bytes);
}

QByteArray HomeFolder::options() const
{
    return readFile(QStringLiteral("options.dat"));
}

QString HomeFolder::makeLibrary(const QStringList& archives) const
{
    const QString library = makeFolder(QStringLiteral("library"));
    for (const QString& archive : archives)
        writeFile(QStringLiteral("library/") + archive);
    return library;
}

QString HomeFolder::makeGame(const QStringList& slotFolders) const
{
    const QString game = makeFolder(QStringLiteral("game"));
    for (const QString& slot : slotFolders)
        makeFolder(QStringLiteral("game/Data/Tracks/") + slot);
    return game;
}
