#include "tools/demo/StandinWindow.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

StandinWindow::StandinWindow(const QStringList& lines, QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Игра (заместитель nfshs.exe)"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Трассы в папке игры:"), this));
    auto* list = new QListWidget(this);
    // Long lists of replaced files wrap instead of hiding behind a horizontal scroll bar.
    list->setWordWrap(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setAlternatingRowColors(true);
    list->addItems(lines);
    layout->addWidget(list);
    auto* quit = new QPushButton(QStringLiteral("Выход"), this);
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(quit);
    resize(640, 480);
}
