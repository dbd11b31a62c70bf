#include "platform/FileListTexts.h"

#include <QDateTime>
#include <QFileSystemModel>
#include <QLocale>

namespace {

// The columns of QFileSystemModel.
constexpr int SizeColumn = 1;
constexpr int DateColumn = 3;

const QLocale& russian()
{
    static const QLocale locale(QLocale::Russian, QLocale::Russia);
    return locale;
}

// 1, 21 байт; 2, 3, 4, 22 байта; 5 … 20, 11 … 14 байт.
QString bytesText(qint64 bytes)
{
    const qint64 lastTwo = bytes % 100;
    const qint64 last = bytes % 10;
    const bool few = last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14);
    return QStringLiteral("%1 %2").arg(bytes).arg(few ? QStringLiteral("байта") : QStringLiteral("байт"));
}

} // namespace

QString FileListTexts::sizeText(qint64 bytes)
{
    if (bytes < 1024)
        return bytesText(bytes);
    const char* const units[] = {"КБ", "МБ", "ГБ", "ТБ"};
    double value = double(bytes) / 1024;
    int unit = 0;
    while (value >= 1024 && unit < 3) {
        value /= 1024;
        ++unit;
    }
    return russian().toString(value, 'f', 1) + QLatin1Char(' ') + QString::fromUtf8(units[unit]);
}

QVariant FileListTexts::data(const QModelIndex& index, int role) const
{
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (!files || role != Qt::DisplayRole || (index.column() != SizeColumn && index.column() != DateColumn))
        return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    if (index.column() == DateColumn)
        return russian().toString(files->lastModified(source), QLocale::ShortFormat);
    return files->isDir(source) ? QVariant(QString()) : QVariant(sizeText(files->size(source)));
}
