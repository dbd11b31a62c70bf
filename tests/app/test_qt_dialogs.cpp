#include "app/QtTranslation.h"
#include "app/main_window.h"
#include "platform/Dialogs.h"
#include "tests/support/HomeFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <functional>

// Qt's own dialogs as the user meets them: in Russian, listing every file, centred on the screen.
class TestQtDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void messageBoxButtonsAreRussian_data();
    void messageBoxButtonsAreRussian();
    void fileDialogIsRussian();
    void allFilesEntryListsNamesWithoutDot();
    void bannerStandsInTheMiddleOfTheScreen();

private:
    // Runs `look` on the open-file dialog of the add command while it is open, then cancels it.
    void whileFileDialogIsOpen(const std::function<void(QFileDialog*)>& look);
};

void TestQtDialogs::initTestCase()
{
    // Whatever the system's language: the tests run in English.
    QLocale::setDefault(QLocale(QLocale::English));
    QVERIFY(installQtTranslation(*qApp));
}

void TestQtDialogs::messageBoxButtonsAreRussian_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("text");
    QTest::newRow("yes") << int(QMessageBox::Yes) << QStringLiteral("Да");
    QTest::newRow("no") << int(QMessageBox::No) << QStringLiteral("Нет");
}

void TestQtDialogs::messageBoxButtonsAreRussian()
{
    QFETCH(int, button);
    QFETCH(QString, text);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Трасса определена"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::StandardButton(button))->text().remove(QLatin1Char('&')), text);
}

void TestQtDialogs::whileFileDialogIsOpen(const std::function<void(QFileDialog*)>& look)
{
    bool looked = false;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog) {
            look(dialog);
            looked = true;
            dialog->reject();
        }
    });
    const QString picked = platform::dialogs().chooseOpenFile(
        nullptr, QStringLiteral("Добавление файла с трассой"),
        QStringLiteral("Файл с запакованной трассой (*.zip);;Все файлы (*.*)"), QStringLiteral("zip"));
    QVERIFY(looked);
    QCOMPARE(picked, QString());
}

void TestQtDialogs::fileDialogIsRussian()
{
    HomeFolder home;
    QVERIFY(home.isValid());
    home.makeFolder(QStringLiteral("downloads/unpacked"));
    home.writeFile(QStringLiteral("downloads/a.zip"), "1");
    home.writeFile(QStringLiteral("downloads/b.zip"), QByteArray(2048, 'b'));
    QString lookIn;
    QStringList buttons;
    // Name, size, type and date as the detail view lists them; the date without Latin letters.
    QStringList rows;
    whileFileDialogIsOpen([&](QFileDialog* dialog) {
        lookIn = dialog->findChild<QLabel*>(QStringLiteral("lookInLabel"))->text();
        for (const QAbstractButton* button : dialog->findChild<QDialogButtonBox*>()->buttons())
            buttons.append(button->text().remove(QLatin1Char('&')));
        dialog->setDirectory(home.path(QStringLiteral("downloads")));
        dialog->setViewMode(QFileDialog::Detail);
        const auto* view = dialog->findChild<QAbstractItemView*>(QStringLiteral("treeView"));
        const auto listed = [view] {
            QStringList texts;
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
                QStringList cells;
                for (int column = 0; column < 4; ++column)
                    cells.append(view->model()->index(row, column, view->rootIndex()).data().toString());
                cells[3] =
                    cells[3].contains(QRegularExpression(QStringLiteral("^[^A-Za-z]+$"))) ? "дата" : cells[3];
                texts.append(cells.join(QLatin1Char('|')));
            }
            texts.sort();
            return texts;
        };
        QTRY_COMPARE(listed().size(), 3);
        rows = listed();
    });
    QCOMPARE(lookIn, QStringLiteral("Перейти к:"));
    buttons.sort();
    QCOMPARE(buttons, QStringList({QStringLiteral("Открыть"), QStringLiteral("Отмена")}));
    QCOMPARE(rows, QStringList({QStringLiteral("a.zip|1 байт|Архив ZIP|дата"),
                                QStringLiteral("b.zip|2,0 КБ|Архив ZIP|дата"),
                                QStringLiteral("unpacked||Папка|дата")}));
}

void TestQtDialogs::allFilesEntryListsNamesWithoutDot()
{
    HomeFolder home;
    QVERIFY(home.isValid());
    home.writeFile(QStringLiteral("downloads/track"));
    home.writeFile(QStringLiteral("downloads/track.zip"));
    home.writeFile(QStringLiteral("downloads/notes.txt"));
    const auto listed = [](QFileDialog* dialog) {
        auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
        QStringList names;
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            names.append(view->model()->index(row, 0, view->rootIndex()).data().toString());
        names.sort();
        return names;
    };
    QStringList zipOnly;
    QStringList everything;
    whileFileDialogIsOpen([&](QFileDialog* dialog) {
        dialog->setDirectory(home.path(QStringLiteral("downloads")));
        QTRY_COMPARE(listed(dialog), QStringList{"track.zip"});
        zipOnly = listed(dialog);
        // The user picks the second entry of the file type list.
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QCOMPARE(types->itemText(1), QStringLiteral("Все файлы (*.*)"));
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down);
        QTRY_COMPARE(listed(dialog).size(), 3);
        everything = listed(dialog);
    });
    QCOMPARE(zipOnly, QStringList{"track.zip"});
    QCOMPARE(everything, (QStringList{"notes.txt", "track", "track.zip"}));
}

void TestQtDialogs::bannerStandsInTheMiddleOfTheScreen()
{
    HomeFolder home;
    QVERIFY(home.isValid());
    QList<QRect> boxes;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes.append(box->frameGeometry());
            box->reject();
        }
    });
    answer.start(10);
    TForm1 form;
    QVERIFY(form.FormCreate());
    answer.stop();
    QVERIFY(!boxes.isEmpty());
    const QPoint middle = form.screen()->availableGeometry().center();
    // The box of the skin load's banner is the first one shown, before the window itself.
    const QPoint offset = boxes.constFirst().center() - middle;
    QVERIFY2(std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1,
             qPrintable(QStringLiteral("%1, %2").arg(offset.x()).arg(offset.y())));
    QVERIFY((form.geometry().center() - middle).manhattanLength() <= 2);
}

QTEST_MAIN(TestQtDialogs)
#include "test_qt_dialogs.moc"
