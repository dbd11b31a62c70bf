#pragma once

#include <QIdentityProxyModel>

// The listing of Qt's file dialogs in the program's language: sizes and dates as a Russian reader
// writes them ("1 байт", "2,0 КБ", "10.12.2026 08:43"). Qt formats them by the system's language,
// which no translation file changes.
class FileListTexts : public QIdentityProxyModel
{
    Q_OBJECT

public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override;

    static QString sizeText(qint64 bytes);
};
