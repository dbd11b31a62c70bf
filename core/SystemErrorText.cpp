#include "core/SystemErrorText.h"

#include <cerrno>
#include <cstring>

QString systemErrorInWords(int error)
{
    switch (error) {
    case ENOSPC:
        return QStringLiteral("на диске нет места");
    case EDQUOT:
        return QStringLiteral("превышена дисковая квота");
    case EFBIG:
        return QStringLiteral("файл слишком велик");
    case EIO:
        return QStringLiteral("ошибка ввода-вывода");
    case EACCES:
    case EPERM:
        return QStringLiteral("нет доступа");
    case EROFS:
        return QStringLiteral("диск доступен только для чтения");
    case EEXIST:
        return QStringLiteral("файл с таким именем уже есть");
    case ENOENT:
        return QStringLiteral("файл или папка не найдены");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("файл занят");
    case EISDIR:
        return QStringLiteral("на этом месте папка");
    default:
        return QStringLiteral("ошибка %1: %2").arg(error).arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}
