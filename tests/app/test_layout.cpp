#include "app/ScrollBox.h"
#include "app/StatusBar.h"
#include "app/main_window.h"
#include "skin/SkinForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

#include <algorithm>

// The window as laid out, before start-up runs.
class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void windowIsFixedBlackAndTitled();
    void skinComponentLiesLowestAndFillsTheWindow();
    void controlsStandWhereTheLayoutPutsThem_data();
    void controlsStandWhereTheLayoutPutsThem();
    void labelsCarryTheirTexts_data();
    void labelsCarryTheirTexts();
    void buttonsCarryCaptionsAndGlyphs();
    void hiddenExitButtonTakesNoInput();
    void foldersStartNotChosenAndReadOnly();
    void standardModeIsSelectedAndSlotAreaEnabled();
    void statusBarsHaveOnePanel();
    void statusBarTextReachesTheBarsEnd_data();
    void statusBarTextReachesTheBarsEnd();
    void buttonsShowTheGlyphsTheLayoutNames_data();
    void buttonsShowTheGlyphsTheLayoutNames();
    void slotCheckBoxesFollowTheSlotTable_data();
    void slotCheckBoxesFollowTheSlotTable();
    void stripsLieInTheirColumnsScrollBox_data();
    void stripsLieInTheirColumnsScrollBox();
    void scrollBoxesStartWithoutBars();
    void tabOrderFollowsTheLayout();
};

void TestLayout::windowIsFixedBlackAndTitled()
{
    TForm1 form;
    QCOMPARE(form.objectName(), QStringLiteral("Form1"));
    QCOMPARE(form.property("caption").toString(), QStringLiteral("Rovex    *beta*"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Rovex"));
    QCOMPARE(form.size(), QSize(595, 510));
    QCOMPARE(form.minimumSize(), QSize(595, 510));
    QCOMPARE(form.maximumSize(), QSize(595, 510));
    QCOMPARE(form.palette().color(QPalette::Window), QColor(Qt::black));
    QCOMPARE(form.font().pixelSize(), 11);
}

void TestLayout::skinComponentLiesLowestAndFillsTheWindow()
{
    TForm1 form;
    QVERIFY(form.SkinForm1);
    QCOMPARE(form.SkinForm1->objectName(), QStringLiteral("SkinForm1"));
    QCOMPARE(form.SkinForm1->geometry(), QRect(0, 0, 595, 510));
    const QList<QWidget*> children = form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(children.constFirst(), form.SkinForm1);
    QCOMPARE(form.SkinForm1->keyColor(), 0xFFFFFF);
    QCOMPARE(form.SkinForm1->tolerance(), 0);
}

void TestLayout::controlsStandWhereTheLayoutPutsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("tip");

    const QString exit = QStringLiteral("Выход (игра не запускается!)");
    const QString standard = QStringLiteral("Игра со стандартными трассами");
    const QString newTracks = QStringLiteral("Игра с дополнительными трассами (только выбранными)");
    const QString folder = QStringLiteral("Воспользуйтесь кнопкой обзор для выбора существующей папки");
    QTest::newRow("StTrL") << "StTrL"
                           << "Form1" << QRect(168, 65, 107, 13) << standard << true;
    QTest::newRow("NTrL") << "NTrL"
                          << "Form1" << QRect(96, 81, 183, 13) << newTracks << true;
    QTest::newRow("PaintBox1") << "PaintBox1"
                               << "Form1" << QRect(488, 30, 25, 25) << exit << false;
    QTest::newRow("GroupBox1") << "GroupBox1"
                               << "Form1" << QRect(84, 93, 409, 217) << QString() << false;
    QTest::newRow("BitBtn2") << "BitBtn2"
                             << "Form1" << QRect(408, 314, 89, 25) << QStringLiteral("Начало игры") << false;
    QTest::newRow("BitBtn3") << "BitBtn3"
                             << "Form1" << QRect(400, 56, 1, 1) << exit << false;
    QTest::newRow("OptPan") << "OptPan"
                            << "Form1" << QRect(75, 310, 326, 93) << QString() << false;
    QTest::newRow("BitBtn1") << "BitBtn1"
                             << "Form1" << QRect(408, 371, 89, 25) << QStringLiteral("Помощь") << false;
    QTest::newRow("BitBtn4") << "BitBtn4"
                             << "Form1" << QRect(408, 343, 89, 25)
                             << QStringLiteral(
                                    "Добавить новую трассу в каталог программы (лучше сделать вручную).")
                             << false;
    QTest::newRow("SBar") << "SBar"
                          << "Form1" << QRect(81, 402, 406, 19) << QString() << false;
    QTest::newRow("RBar") << "RBar"
                          << "Form1" << QRect(115, 419, 338, 19) << QString() << false;
    QTest::newRow("StTr") << "StTr"
                          << "Form1" << QRect(288, 66, 17, 17) << standard << false;
    QTest::newRow("NTr") << "NTr"
                         << "Form1" << QRect(288, 81, 17, 17) << newTracks << false;
    QTest::newRow("Label1") << "Label1"
                            << "OptPan" << QRect(8, 12, 162, 13) << QString() << false;
    QTest::newRow("Label2") << "Label2"
                            << "OptPan" << QRect(7, 49, 218, 13) << QString() << false;
    QTest::newRow("PaTr") << "PaTr"
                          << "OptPan" << QRect(8, 28, 231, 21) << folder << false;
    QTest::newRow("PaGa") << "PaGa"
                          << "OptPan" << QRect(8, 65, 231, 21) << folder << false;
    QTest::newRow("Button1") << "Button1"
                             << "OptPan" << QRect(246, 27, 75, 21)
                             << QStringLiteral("Выбор пути в дереве папок к папке с файлами трасс") << false;
    QTest::newRow("Button2") << "Button2"
                             << "OptPan" << QRect(246, 64, 75, 21)
                             << QStringLiteral("Выбор пути в дереве папок к каталогу игры") << false;
    QTest::newRow("ScrollBox1") << "ScrollBox1"
                                << "GroupBox1" << QRect(118, 16, 81, 193) << QString() << false;
    QTest::newRow("ScrollBox2") << "ScrollBox2"
                                << "GroupBox1" << QRect(211, 16, 81, 193) << QString() << false;
}

void TestLayout::controlsStandWhereTheLayoutPutsThem()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(QString, hint);
    QFETCH(bool, tip);

    TForm1 form;
    const auto* widget = form.findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->statusTip(), hint);
    QCOMPARE(widget->toolTip(), tip ? hint : QString());
}

void TestLayout::labelsCarryTheirTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    // The first letter of StTrL's caption is the Latin C; the lone "c" of Label2 is Latin too.
    QTest::newRow("StTrL") << "StTrL" << QStringLiteral("C\u0442андартные трассы");
    QTest::newRow("NTrL") << "NTrL" << QStringLiteral("Новые трассы (вместо выбранных):");
    QTest::newRow("Label1") << "Label1" << QStringLiteral("Путь к папке с файлами трасс: ");
    QTest::newRow("Label2") << "Label2" << QStringLiteral("Путь к каталогу игры (c файлом nfshs.exe):");
}

void TestLayout::labelsCarryTheirTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    TForm1 form;
    const auto* label = form.findChild<QLabel*>(name);
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->text().toUtf8(), text.toUtf8());
}

void TestLayout::buttonsCarryCaptionsAndGlyphs()
{
    TForm1 form;
    QCOMPARE(form.BitBtn2->text(), QStringLiteral("&Старт"));
    QCOMPARE(form.BitBtn3->text(), QStringLiteral("&Выход"));
    QCOMPARE(form.BitBtn1->text(), QStringLiteral("&Помощь"));
    QCOMPARE(form.BitBtn4->text(), QStringLiteral("&Добавить"));
    QCOMPARE(form.Button1->text(), QStringLiteral("&Обзор..."));
    QCOMPARE(form.Button2->text(), QStringLiteral("&Обзор..."));
    for (const QPushButton* glyphButton : {form.BitBtn1, form.BitBtn2, form.BitBtn3, form.BitBtn4})
        QVERIFY(!glyphButton->icon().isNull());
    QVERIFY(form.Button1->icon().isNull());
    QCOMPARE(form.OptPan->title(), QStringLiteral(" Настройки "));
    QVERIFY(form.GroupBox1->title().isEmpty());
}

void TestLayout::hiddenExitButtonTakesNoInput()
{
    TForm1 form;
    form.show();
    QVERIFY(form.BitBtn3->isHidden());
    QVERIFY(!form.BitBtn3->isVisible());
}

void TestLayout::foldersStartNotChosenAndReadOnly()
{
    TForm1 form;
    for (const QLineEdit* edit : {form.PaTr, form.PaGa}) {
        QCOMPARE(edit->text(), QStringLiteral("не выбран"));
        QVERIFY(edit->isReadOnly());
        QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::black));
    }
    QCOMPARE(form.trackDir(), QStringLiteral("не выбран"));
    QCOMPARE(form.gameDir(), QStringLiteral("не выбран"));
}

void TestLayout::standardModeIsSelectedAndSlotAreaEnabled()
{
    TForm1 form;
    QVERIFY(form.StTr->isChecked());
    QVERIFY(!form.NTr->isChecked());
    QVERIFY(form.GroupBox1->isEnabled());
    QVERIFY(form.StTr->text().isEmpty());
    QVERIFY(form.NTr->text().isEmpty());
}

void TestLayout::statusBarsHaveOnePanel()
{
    TForm1 form;
    QCOMPARE(form.SBar->panelWidth(), 494);
    QCOMPARE(form.RBar->panelWidth(), 50);
    QVERIFY(form.SBar->text().isEmpty());
    QVERIFY(form.RBar->text().isEmpty());
    QCOMPARE(form.SBar->palette().color(QPalette::Window), QColor(Qt::white));
}

void TestLayout::statusBarTextReachesTheBarsEnd_data()
{
    QTest::addColumn<QString>("bar");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("reach");  // the text's pixels go at least this far right
    QTest::addColumn<bool>("whole"); // the text fits; otherwise it ends in "…" and is the bar's tool tip
    QTest::newRow("RBar while unpacking")
        << "RBar" << QStringLiteral("Подождите. Происходит распаковка архива с трассой...") << 200 << true;
    QTest::newRow("RBar after an add")
        << "RBar" << QStringLiteral("Трасса была определена. Теперь она должна быть доступна.") << 200
        << true;
    QTest::newRow("SBar with a long hint")
        << "SBar" << QStringLiteral("Добавить новую трассу в каталог программы (лучше сделать вручную).")
        << 250 << true;
    QTest::newRow("RBar with a text too long for it")
        << "RBar"
        << QStringLiteral(
               "В папке трассы Country уже есть файл \"woods.zip\": новый архив оставлен на месте.")
        << 320 << false;
}

void TestLayout::statusBarTextReachesTheBarsEnd()
{
    QFETCH(QString, bar);
    QFETCH(QString, text);
    QFETCH(int, reach);
    QFETCH(bool, whole);

    TForm1 form;
    auto* statusBar = form.findChild<StatusBar*>(bar);
    statusBar->setText(text);
    const QImage shot = statusBar->grab().toImage();
    // The rightmost dark pixel inside the panel's frame.
    int rightmost = -1;
    for (int y = 3; y < shot.height() - 3; ++y) {
        for (int x = 3; x < shot.width() - 3; ++x) {
            if (qGray(shot.pixel(x, y)) < 100)
                rightmost = std::max(rightmost, x);
        }
    }
    QVERIFY2(rightmost >= reach, qPrintable(QString::number(rightmost)));
    QCOMPARE(statusBar->toolTip(), whole ? QString() : text);
    // A cut text ends in "…", within the frame: the frame's last pixels inside stay clear of it.
    for (int y = 3; y < shot.height() - 3; ++y)
        QVERIFY(qGray(shot.pixel(shot.width() - 4, y)) >= 100);
}

void TestLayout::buttonsShowTheGlyphsTheLayoutNames_data()
{
    // The glyph's box cut in three by three cells, row by row: '#' holds some of the glyph, '.' none of
    // it, '?' either.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<QString>("cells");
    QTest::newRow("start: a green tick") << "BitBtn2" << qRgb(0, 128, 0) << "..#????#.";
    QTest::newRow("help: a blue question mark") << "BitBtn1" << qRgb(0, 0, 192) << "?#????.#.";
    QTest::newRow("add: green circular arrows") << "BitBtn4" << qRgb(0, 128, 0) << "?#??.??#?";
    QTest::newRow("exit: a red cross") << "BitBtn3" << qRgb(192, 0, 0) << "#?#?#?#?#";
}

void TestLayout::buttonsShowTheGlyphsTheLayoutNames()
{
    QFETCH(QString, name);
    QFETCH(QRgb, colour);
    QFETCH(QString, cells);

    TForm1 form;
    auto* button = form.findChild<QPushButton*>(name);
    button->resize(89, 25); // the hidden exit button too
    const QImage shot = button->grab().toImage();
    // The glyph's pixels: coloured and near its colour, anti-aliased edges included.
    const auto inGlyph = [&](int x, int y) {
        const QColor pixel = shot.pixelColor(x, y);
        const int far = std::abs(pixel.red() - qRed(colour)) + std::abs(pixel.green() - qGreen(colour)) +
                        std::abs(pixel.blue() - qBlue(colour));
        return far < 150 && pixel.hsvSaturation() > 100;
    };
    QRect box;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (inGlyph(x, y))
                box |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(box.width() >= 8 && box.height() >= 8);
    QString seen;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            bool any = false;
            for (int y = box.top() + row * box.height() / 3; y < box.top() + (row + 1) * box.height() / 3;
                 ++y) {
                for (int x = box.left() + column * box.width() / 3;
                     x < box.left() + (column + 1) * box.width() / 3; ++x)
                    any = any || inGlyph(x, y);
            }
            seen += any ? QLatin1Char('#') : QLatin1Char('.');
        }
    }
    for (int i = 0; i < 9; ++i)
        QVERIFY2(cells[i] == QLatin1Char('?') || cells[i] == seen[i], qPrintable(seen));
}

void TestLayout::slotCheckBoxesFollowTheSlotTable_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("captionOnTheLeft");

    const auto row = [](const char* slot, const QString& caption, const QString& hint, int left, int top) {
        QTest::newRow(slot) << QString::fromLatin1(slot) << caption << hint << QRect(left, top, 97, 17)
                            << (left == 8);
    };
    row("Aquatica", "Aquatica", "Акватика", 8, 16);
    row("Atlantic", QStringLiteral("Atlantic\u0430"), "Атлантика", 8, 33);
    row("Coastal", "Dolphin Cove", "Бухта Дельфинов", 8, 50);
    row("Country", "Country Woods", "Лес", 8, 67);
    row("Empire", "Empire City", "Импайр-Сити", 8, 84);
    row("France", "Route Adonf", "Дорога Адонф", 8, 101);
    row("Germany", "Landstrasse", "Ландштрассе", 8, 118);
    row("Gt1", "Raceway", "Гоночный трек", 8, 135);
    row("Gt2", "Raceway 2", "Гоночный трек 2", 8, 152);
    row("Gt3", "Raceway 3", "Гоночный трек 3", 8, 169);
    row("Hills", "Celtic Ruins", "Кельтские руины", 304, 16);
    row("Hometown", "Hometown", "Родной город", 304, 33);
    row("Lostcany", "Lost Canyons", "Потерянный каньон", 304, 50);
    row("Park", "Kindiak Park", "Киндиакийский парк", 304, 67);
    row("Redrock", "Redrock Ridge", "Гряда красной скалы", 304, 84);
    row("Rockypas", "Rocky Pass", "Скалистый перевал", 304, 101);
    row("Snowy", "Snow Racer", "Заснеженный перевал", 304, 118);
    row("Summit", "Summit", "Саммит", 304, 135);
    row("UK", "Durham Road", "Дорога Дурхэм", 304, 152);
}

void TestLayout::slotCheckBoxesFollowTheSlotTable()
{
    QFETCH(QString, slot);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(QRect, geometry);
    QFETCH(bool, captionOnTheLeft);

    TForm1 form;
    const QCheckBox* box = form.slotCheckBox(slot);
    QVERIFY(box);
    QCOMPARE(box->parentWidget(), form.GroupBox1);
    QCOMPARE(box->text(), caption);
    QCOMPARE(box->statusTip(), hint);
    QCOMPARE(box->toolTip(), hint);
    QCOMPARE(box->geometry(), geometry);
    QCOMPARE(box->layoutDirection() == Qt::RightToLeft, captionOnTheLeft);
    QVERIFY(box->isEnabled());
    QVERIFY(!box->isChecked());
    QCOMPARE(box->palette().color(QPalette::Window), QColor(0, 255, 255));
}

void TestLayout::stripsLieInTheirColumnsScrollBox_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<int>("top");
    QTest::addColumn<QString>("scrollBox");
    const auto row = [](const char* slot, int top, const char* box) {
        QTest::newRow(slot) << QString::fromLatin1(slot) << top << QString::fromLatin1(box);
    };
    row("Aquatica", -1, "ScrollBox1");
    row("Atlantic", 16, "ScrollBox1");
    row("Coastal", 33, "ScrollBox1");
    row("Country", 50, "ScrollBox1");
    row("Empire", 67, "ScrollBox1");
    row("France", 84, "ScrollBox1");
    row("Germany", 102, "ScrollBox1");
    row("Gt1", 119, "ScrollBox1");
    row("Gt2", 136, "ScrollBox1");
    row("Gt3", 153, "ScrollBox1");
    row("Hills", -1, "ScrollBox2");
    row("Hometown", 16, "ScrollBox2");
    row("Lostcany", 33, "ScrollBox2");
    row("Park", 50, "ScrollBox2");
    row("Redrock", 67, "ScrollBox2");
    row("Rockypas", 84, "ScrollBox2");
    row("Snowy", 102, "ScrollBox2");
    row("Summit", 119, "ScrollBox2");
    row("UK", 136, "ScrollBox2");
}

void TestLayout::stripsLieInTheirColumnsScrollBox()
{
    QFETCH(QString, slot);
    QFETCH(int, top);
    QFETCH(QString, scrollBox);

    TForm1 form;
    const QWidget* strip = form.slotStrip(slot);
    QVERIFY(strip);
    QCOMPARE(strip->objectName(), slot + QLatin1Char('P'));
    QCOMPARE(strip->geometry(), QRect(0, top, 4600, 17));
    QCOMPARE(form.scrollBoxOf(slot)->objectName(), scrollBox);
    QCOMPARE(strip->parentWidget(), form.scrollBoxOf(slot)->content());
    QCOMPARE(strip->palette().color(QPalette::Window), QColor(0, 255, 255));
    QVERIFY(strip->findChildren<QRadioButton*>().isEmpty());
    QCOMPARE(form.chosenButton(slot), nullptr);
}

void TestLayout::scrollBoxesStartWithoutBars()
{
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.ScrollBox1->arrowStep(), 18);
    QCOMPARE(form.ScrollBox2->arrowStep(), 8);
    for (const ScrollBox* box : {form.ScrollBox1, form.ScrollBox2}) {
        QCOMPARE(box->range(), 77);
        QCOMPARE(box->position(), 0);
        QCOMPARE(box->viewport()->width(), 77);
        QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY(!box->horizontalScrollBar()->isVisible());
    }
}

void TestLayout::tabOrderFollowsTheLayout()
{
    TForm1 form;
    // Start, the settings panel, the slot area, help, add, then the two mode buttons; the hidden exit
    // button is passed over.
    QList<QWidget*> expected{form.BitBtn2, form.PaTr, form.PaGa, form.Button1, form.Button2};
    const QStringList slotsByTabOrder{
        "Aquatica", "Atlantic", "Coastal",  "Country", "Empire", "France",   "Germany", "Gt1",  "Gt2", "Gt3",
        "Lostcany", "Hills",    "Hometown", "Summit",  "Snowy",  "Rockypas", "Redrock", "Park", "UK"};
    for (const QString& slot : slotsByTabOrder)
        expected.append(form.slotCheckBox(slot));
    expected << form.BitBtn1 << form.BitBtn4 << form.StTr << form.NTr;

    const auto nextTabStop = [](QWidget* from) {
        QWidget* next = from->nextInFocusChain();
        while (next != from && (!(next->focusPolicy() & Qt::TabFocus) || next->isHidden()))
            next = next->nextInFocusChain();
        return next;
    };
    for (qsizetype i = 1; i < expected.size(); ++i)
        QCOMPARE(nextTabStop(expected[i - 1]), expected[i]);
}

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
