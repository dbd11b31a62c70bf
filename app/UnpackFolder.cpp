#include "app/UnpackFolder.h"

#include "core/IoError.h"
#include "platform/FileSystem.h"

#include <QTemporaryDir>

namespace fs = platform::fs;

namespace {

QString makeFreshFolder(const QString& temp1)
{
    const bool isFolder = fs::folderExists(temp1);
    QTemporaryDir fresh(temp1 + (isFolder ? QStringLiteral("/add-XXXXXX") : QStringLiteral("-add-XXXXXX")));
    if (!fresh.isValid())
        throw IoError(QStringLiteral("Не удалось создать папку для распаковки архива рядом с \"%1\": %2")
                          .arg(temp1, fresh.errorString()));
    fresh.setAutoRemove(false);
    return fresh.path();
}

} // namespace

UnpackFolder::UnpackFolder(const QString& temp1)
{
    if (!fs::entryExists(temp1)) {
        // When even this fails (no library folder), the archiver finds no folder and nothing is unpacked.
        fs::createFolder(temp1);
        m_path = temp1;
    } else if (fs::folderExists(temp1) && fs::findEntries(temp1, QStringLiteral("*.*")).isEmpty()) {
        m_path = temp1;
    } else {
        m_path = makeFreshFolder(temp1);
    }
}

UnpackFolder::~UnpackFolder()
{
    cleanUp();
}

void UnpackFolder::cleanUp()
{
    if (m_cleaned)
        return;
    m_cleaned = true;
    for (const QString& name : fs::findEntries(m_path, QStringLiteral("*.*"))) {
        const QString entry = m_path + QLatin1Char('/') + name;
        if (!fs::folderExists(entry))
            fs::removeFile(entry);
    }
    fs::removeFolder(m_path);
}
