#include "app/Layout.h"

#include "app/CaptionlessRadio.h"
#include "app/ClickArea.h"
#include "app/ScrollBox.h"
#include "app/StatusBar.h"
#include "app/StockGlyphs.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cstring>

namespace layout {

namespace {

const char* const ExitHint = "Выход (игра не запускается!)";
const char* const StandardHint = "Игра со стандартными трассами";
const char* const NewTracksHint = "Игра с дополнительными трассами (только выбранными)";
const char* const FolderFieldHint = "Воспользуйтесь кнопкой обзор для выбора существующей папки";

} // namespace

QColor aqua()
{
    return QColor(0x00, 0xFF, 0xFF);
}

QColor infoBackground()
{
    return QColor(0xFF, 0xFF, 0xE1);
}

const std::vector<Control>& controls()
{
    const QColor white(Qt::white);
    const QColor black(Qt::black);
    static const std::vector<Control> table{
        // On the window.
        {"StTrL",
         Kind::Label,
         "",
         {168, 65, 107, 13},
         "Cтандартные трассы",
         StandardHint,
         true,
         -1,
         Glyph::None,
         {},
         black},
        {"NTrL",
         Kind::Label,
         "",
         {96, 81, 183, 13},
         "Новые трассы (вместо выбранных):",
         NewTracksHint,
         true,
         -1,
         Glyph::None,
         {},
         black},
        {"PaintBox1", Kind::PaintBox, "", {488, 30, 25, 25}, "", ExitHint, false, -1},
        {"GroupBox1", Kind::GroupBox, "", {84, 93, 409, 217}, "", "", false, 3, Glyph::None, white},
        {"BitBtn2", Kind::GlyphButton, "", {408, 314, 89, 25}, "&Старт", "Начало игры", false, 0, Glyph::Ok},
        {"BitBtn3",
         Kind::GlyphButton,
         "",
         {400, 56, 1, 1},
         "&Выход",
         ExitHint,
         false,
         1,
         Glyph::Cancel,
         {},
         {},
         0,
         true},
        {"OptPan",
         Kind::GroupBox,
         "",
         {75, 310, 326, 93},
         " Настройки ",
         "",
         false,
         2,
         Glyph::None,
         white,
         black},
        {"BitBtn1", Kind::GlyphButton, "", {408, 371, 89, 25}, "&Помощь", "Помощь", false, 4, Glyph::Help},
        {"BitBtn4",
         Kind::GlyphButton,
         "",
         {408, 343, 89, 25},
         "&Добавить",
         "Добавить новую трассу в каталог программы (лучше сделать вручную).",
         false,
         5,
         Glyph::Retry},
        {"SBar", Kind::StatusBar, "", {81, 402, 406, 19}, "", "", false, -1, Glyph::None, white, {}, 494},
        {"RBar", Kind::StatusBar, "", {115, 419, 338, 19}, "", "", false, -1, Glyph::None, white, {}, 50},
        {"StTr", Kind::Radio, "", {288, 66, 17, 17}, "", StandardHint, false, 6},
        {"NTr", Kind::Radio, "", {288, 81, 17, 17}, "", NewTracksHint, false, 9},
        // In the settings panel.
        {"Label1", Kind::Label, "OptPan", {8, 12, 162, 13}, "Путь к папке с файлами трасс: ", "", false, -1},
        {"Label2",
         Kind::Label,
         "OptPan",
         {7, 49, 218, 13},
         "Путь к каталогу игры (c файлом nfshs.exe):",
         "",
         false,
         -1},
        {"PaTr",
         Kind::Edit,
         "OptPan",
         {8, 28, 231, 21},
         NotChosen,
         FolderFieldHint,
         false,
         0,
         Glyph::None,
         infoBackground(),
         black},
        {"PaGa",
         Kind::Edit,
         "OptPan",
         {8, 65, 231, 21},
         NotChosen,
         FolderFieldHint,
         false,
         1,
         Glyph::None,
         infoBackground(),
         black},
        {"Button1",
         Kind::Button,
         "OptPan",
         {246, 27, 75, 21},
         "&Обзор...",
         "Выбор пути в дереве папок к папке с файлами трасс",
         false,
         2},
        {"Button2",
         Kind::Button,
         "OptPan",
         {246, 64, 75, 21},
         "&Обзор...",
         "Выбор пути в дереве папок к каталогу игры",
         false,
         3},
        // In the slot area, beside the 19 slot check boxes.
        {"ScrollBox1",
         Kind::ScrollBox,
         "GroupBox1",
         {118, 16, 81, 193},
         "",
         "",
         false,
         ScrollBoxTabOrderBase,
         Glyph::None,
         aqua(),
         {},
         18},
        {"ScrollBox2",
         Kind::ScrollBox,
         "GroupBox1",
         {211, 16, 81, 193},
         "",
         "",
         false,
         ScrollBoxTabOrderBase + 1,
         Glyph::None,
         aqua(),
         {},
         8},
    };
    return table;
}

const Control* findControl(const char* name)
{
    for (const Control& control : controls()) {
        if (std::strcmp(control.name, name) == 0)
            return &control;
    }
    return nullptr;
}

QRect checkBoxGeometry(const trackslots::SlotRow& row)
{
    const int left = row.column == trackslots::Column::Left ? LeftColumnLeft : RightColumnLeft;
    return {left, row.top, CheckBoxWidth, CheckBoxHeight};
}

QRect stripGeometry(const trackslots::SlotRow& row)
{
    return {0, row.stripTop, StripWidth, StripHeight};
}

const char* scrollBoxName(trackslots::Column column)
{
    return column == trackslots::Column::Left ? "ScrollBox1" : "ScrollBox2";
}

namespace {

void setColours(QWidget* widget, const QColor& background, const QColor& text)
{
    QPalette palette = widget->palette();
    if (background.isValid()) {
        palette.setColor(QPalette::Window, background);
        // A check box's colour is the area around its box; the box itself stays white.
        if (!qobject_cast<QAbstractButton*>(widget))
            palette.setColor(QPalette::Base, background);
    }
    if (text.isValid()) {
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::Text, text);
        palette.setColor(QPalette::ButtonText, text);
        // Disabled controls keep the system's grey text, so an empty slot reads as unavailable.
        const QColor grey(128, 128, 128);
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(QPalette::Disabled, role, grey);
    }
    widget->setPalette(palette);
}

QWidget* create(const Control& control, QWidget* parent)
{
    const QString text = QString::fromUtf8(control.text);
    switch (control.kind) {
    case Kind::Label: {
        auto* label = new ClickLabel(parent);
        label->setText(text);
        return label;
    }
    case Kind::PaintBox:
        return new ClickArea(parent);
    case Kind::GroupBox:
        return new QGroupBox(text, parent);
    case Kind::GlyphButton:
        return new QPushButton(stockGlyph(control.glyph), text, parent);
    case Kind::Button:
        return new QPushButton(text, parent);
    case Kind::StatusBar:
        return new StatusBar(control.extra, parent);
    case Kind::Radio:
        return new CaptionlessRadio(parent);
    case Kind::Edit: {
        auto* edit = new QLineEdit(text, parent);
        edit->setReadOnly(true);
        return edit;
    }
    case Kind::ScrollBox: {
        auto* box = new ScrollBox(ScrollBoxRange, control.extra, parent);
        setColours(box->viewport(), control.background, {});
        setColours(box->content(), control.background, {});
        return box;
    }
    }
    return nullptr;
}

QWidget* createSlotCheckBox(const trackslots::SlotRow& row, QWidget* groupBox)
{
    auto* box = new QCheckBox(QString::fromUtf8(row.caption), groupBox);
    box->setObjectName(QString::fromLatin1(row.name));
    box->setGeometry(checkBoxGeometry(row));
    box->setStatusTip(QString::fromUtf8(row.hint));
    box->setToolTip(box->statusTip());
    box->setAutoFillBackground(true);
    setColours(box, aqua(), Qt::black);
    // The boxes of both columns face the scroll boxes in the middle.
    if (row.column == trackslots::Column::Left)
        box->setLayoutDirection(Qt::RightToLeft);
    box->setProperty("tabOrder", row.tabOrder);
    return box;
}

QWidget* createStrip(const trackslots::SlotRow& row, QWidget* scrollContent)
{
    auto* strip = new QWidget(scrollContent);
    strip->setObjectName(QString::fromLatin1(row.name) + QLatin1Char('P'));
    strip->setGeometry(stripGeometry(row));
    strip->setAutoFillBackground(true);
    setColours(strip, aqua(), {});
    strip->setProperty("tabOrder", row.stripTabOrder);
    return strip;
}

// The focus chain: siblings by their tab order, a container's controls in place of the container (a
// scroll box's strips, and a strip's choice buttons, where the scroll box stands).
void appendTabChain(QWidget* parent, QList<QWidget*>& chain)
{
    QList<QWidget*> ordered;
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget->property("tabOrder").isValid())
            ordered.append(widget);
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](QWidget* a, QWidget* b) {
        return a->property("tabOrder").toInt() < b->property("tabOrder").toInt();
    });
    for (QWidget* widget : ordered) {
        if (auto* box = qobject_cast<ScrollBox*>(widget))
            appendTabChain(box->content(), chain);
        else if (widget->focusPolicy() != Qt::NoFocus)
            chain.append(widget); // also a radio button whose group lets only its focused one take Tab
        else
            appendTabChain(widget, chain);
    }
}

} // namespace

void build(QWidget* window)
{
    for (const Control& control : controls()) {
        QWidget* parent =
            *control.parent ? window->findChild<QWidget*>(QString::fromLatin1(control.parent)) : window;
        QWidget* widget = create(control, parent);
        widget->setObjectName(QString::fromLatin1(control.name));
        widget->setGeometry(control.geometry);
        widget->setStatusTip(QString::fromUtf8(control.hint));
        if (control.tip)
            widget->setToolTip(widget->statusTip());
        if (control.background.isValid() && control.kind != Kind::GroupBox)
            widget->setAutoFillBackground(true);
        setColours(widget, control.background, control.textColor);
        if (control.tabOrder >= 0)
            widget->setProperty("tabOrder", control.tabOrder);
        if (control.hidden)
            widget->hide();

        if (std::strcmp(control.name, "GroupBox1") == 0) {
            for (const trackslots::SlotRow& row : trackslots::windowOrder())
                createSlotCheckBox(row, widget);
        }
    }
    for (const trackslots::SlotRow& row : trackslots::windowOrder()) {
        auto* box = window->findChild<ScrollBox*>(QString::fromLatin1(scrollBoxName(row.column)));
        createStrip(row, box->content());
    }

    orderTabChain(window);
}

void orderTabChain(QWidget* window)
{
    QList<QWidget*> chain;
    appendTabChain(window, chain);
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

} // namespace layout
