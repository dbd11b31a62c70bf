#include "DefaultSkinPanels.h"
#include "app/Layout.h"
#include "core/SlotTable.h"
#include "tests/skin/SkinFixtures.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

namespace {

// A control's rectangle in window pixels: its place plus the places of the containers it lies in.
QRect windowRect(const char* name)
{
    if (const trackslots::SlotRow* row = trackslots::findSlot(QString::fromLatin1(name)))
        return layout::checkBoxGeometry(*row).translated(windowRect("GroupBox1").topLeft());
    const layout::Control* control = layout::findControl(name);
    if (!control)
        return {};
    if (!*control->parent)
        return control->geometry;
    return control->geometry.translated(windowRect(control->parent).topLeft());
}

} // namespace

// The default skin drawn for the main window: every control on the panel drawn for its group, clear
// of every edge and line the skin draws.
class TestDefaultSkinLayout : public QObject
{
    Q_OBJECT

private:
    QImage m_rest;

private slots:
    void initTestCase()
    {
        m_rest = QImage(QStringLiteral(ROVEX_HOME_DIR "/skin_up.bmp"));
        QVERIFY2(!m_rest.isNull(), "build the default_skin target first");
    }

    void everyControlSitsInItsPanelClearOfTheDrawnLines_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<bool>("container"); // a group box: its own group's panels lie inside it
        const auto row = [](const char* control, const char* panel, bool container = false) {
            QTest::newRow(control) << QString::fromLatin1(control) << QString::fromLatin1(panel) << container;
        };
        for (const char* control :
             {"StTrL", "NTrL", "StTr", "NTr", "Label1", "Label2", "PaTr", "PaGa", "Button1", "Button2"})
            row(control, "deck");
        row("GroupBox1", "deck", true);
        row("OptPan", "deck", true);
        row("PaintBox1", "exit");
        for (const char* control : {"BitBtn2", "BitBtn4", "BitBtn1", "SBar", "RBar"})
            row(control, "console");
        for (const char* control :
             {"ScrollBox1", "ScrollBox2", "Aquatica", "Atlantic", "Coastal", "Country", "Empire",
              "France",     "Germany",    "Gt1",      "Gt2",      "Gt3",     "Hills",   "Hometown",
              "Lostcany",   "Park",       "Redrock",  "Rockypas", "Snowy",   "Summit",  "UK"})
            row(control, "slots");
    }

    void everyControlSitsInItsPanelClearOfTheDrawnLines()
    {
        QFETCH(QString, control);
        QFETCH(QString, panel);
        QFETCH(bool, container);
        // The control's pixels, less a sliver: touching a line's pixels is not lying on them.
        const QRectF rect = QRectF(windowRect(qPrintable(control))).adjusted(0.01, 0.01, -0.01, -0.01);
        QVERIFY(!rect.isEmpty());
        const QList<defaultskin::Panel> panels = defaultskin::panels();
        qsizetype own = 0;
        while (own < panels.size() && panels[own].name != panel)
            ++own;
        QVERIFY(own < panels.size());
        QVERIFY2(panels[own].area.contains(rect), "outside its panel");
        if (container)
            return;
        // The picture agrees: light inset, dark console, metal deck around the control's middle.
        const int grey = qGray(m_rest.pixel(rect.center().toPoint()));
        if (panel == "slots")
            QVERIFY(grey >= 225);
        else if (panel == "console")
            QVERIFY(grey <= 80);
        else if (panel == "deck")
            QVERIFY(grey >= 110 && grey <= 190);
        QVERIFY2(!defaultskin::drawnLines().intersects(rect), "on a drawn line");
        // Panels are drawn in this order: none drawn later may cover the control.
        for (qsizetype later = own + 1; later < panels.size(); ++later)
            QVERIFY2(!panels[later].area.intersects(rect),
                     qPrintable("under the panel " + panels[later].name));
    }

    // The title's tool tip opens below and to the right of the pointer; from the title's far corner it
    // must still end before the exit button.
    void titleToolTipLeavesTheExitButtonFree()
    {
        SkinHost host;
        host.skin->LoadSkin(QStringLiteral(ROVEX_HOME_DIR "/skin.ini"));
        host.window.move(0, 0);
        host.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host.window));
        const int title = host.skin->IndexOfHotArea(QStringLiteral("Title"));
        QVERIFY(title >= 0);
        const QRect area = TSkinForm::hotAreaRect(host.skin->HotAreas[title]);
        const QRect exit = windowRect("PaintBox1");
        for (const QPoint corner : {area.bottomRight(), area.topRight()}) {
            host.skin->MouseMove({}, corner.x(), corner.y());
            QHelpEvent help(QEvent::ToolTip, corner, host.skin->mapToGlobal(corner));
            QApplication::sendEvent(host.skin, &help);
            QTRY_VERIFY(QToolTip::isVisible());
            QWidget* tip = nullptr;
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (widget->inherits("QTipLabel") && widget->isVisible())
                    tip = widget;
            }
            QVERIFY(tip);
            const QRect tipInWindow(host.window.mapFromGlobal(tip->geometry().topLeft()), tip->size());
            QVERIFY2(!tipInWindow.intersects(exit), "the tool tip covers the exit button");
            QToolTip::hideText();
            QTRY_VERIFY(!QToolTip::isVisible());
        }
    }
};

QTEST_MAIN(TestDefaultSkinLayout)
#include "test_defaultskin_layout.moc"
