#pragma once

#include "core/SlotTable.h"

#include <QColor>
#include <QRect>

#include <vector>

class QWidget;

// The main window's layout as data: every control with its place, texts and colours. The 19 slot rows
// come from the slot table.
namespace layout {

enum class Kind
{
    Label,       // a label that reports clicks
    PaintBox,    // a clickable area that draws nothing
    GroupBox,    // a container, with or without caption
    GlyphButton, // a push button with a stock glyph
    Button,      // a plain push button
    StatusBar,   // one panel; `extra` is the panel width
    Radio,       // a radio button
    Edit,        // a read-only one-line edit field
    ScrollBox,   // a sideways scrolling box; `extra` is the arrow step
};

enum class Glyph
{
    None,
    Ok,
    Cancel,
    Help,
    Retry
};

struct Control
{
    const char* name;
    Kind kind;
    const char* parent; // "" is the window itself
    QRect geometry;     // Left, Top, Width, Height in the parent's client pixels
    const char* text;
    const char* hint;
    bool tip;     // the hint also shows as a tool tip
    int tabOrder; // among the siblings; -1 when none is set
    Glyph glyph = Glyph::None;
    QColor background = {}; // invalid: the control paints no background of its own
    QColor textColor = {};  // invalid: the window's text colour
    int extra = 0;
    bool hidden = false;
};

inline constexpr int WindowWidth = 595;
inline constexpr int WindowHeight = 510;
inline constexpr int CheckBoxWidth = 97;
inline constexpr int CheckBoxHeight = 17;
inline constexpr int LeftColumnLeft = 8;
inline constexpr int RightColumnLeft = 304;
inline constexpr int StripWidth = 4600;
inline constexpr int StripHeight = 17;
inline constexpr int ScrollBoxRange = 77;
inline constexpr int ScrollBoxTabOrderBase = 19;

// The window's caption is not drawn (the window has no title bar); the taskbar shows the application
// title, as the program's taskbar button always did.
const char* const Caption = "Rovex    *beta*";
const char* const ApplicationTitle = "Rovex";
const char* const NotChosen = "не выбран";

// The controls in creation order (later ones lie above earlier ones); the skin component, created
// first and lying lowest, is not among them.
const std::vector<Control>& controls();

// The control named `name`, or nullptr.
const Control* findControl(const char* name);

// The colours the layout names.
QColor aqua();
QColor infoBackground();

// A slot's check box and strip places: the check box inside GroupBox1, the strip inside its scroll box.
QRect checkBoxGeometry(const trackslots::SlotRow& row);
QRect stripGeometry(const trackslots::SlotRow& row);
const char* scrollBoxName(trackslots::Column column);

// Creates every control of the layout on `window` (which already holds its skin component), with
// names, places, texts, hints, colours and tab order.
void build(QWidget* window);

// Puts the window's controls into the focus chain by the tab orders of the layout: among siblings by
// their "tabOrder" property, a container's controls where the container stands. Choice buttons made
// later carry a "tabOrder" in their strip; the scan calls this again once it has made them.
void orderTabChain(QWidget* window);

} // namespace layout
