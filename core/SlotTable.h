#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The 19 standard tracks of the game (track slots) and the 21 files that make up one track.
// Not named "slots": Qt defines that word as an empty macro, which would make the namespace anonymous.
namespace trackslots {

enum class Column
{
    Left,
    Right
};

// One slot row of the window: its check box (named after the slot folder) and its strip.
struct SlotRow
{
    const char* name;    // slot name: check box name, library and game folder name
    const char* caption; // the track's English name
    const char* hint;    // the track's Russian name
    Column column;       // left column strips lie in ScrollBox1, right column ones in ScrollBox2
    int top;             // check box Top inside GroupBox1
    int tabOrder;        // tab order of the check box inside GroupBox1
    int stripTop;        // Top of the strip inside its scroll box
    int stripTabOrder;   // tab order of the strip inside its scroll box
};

// The slot rows in window order: the order in which the check boxes stand among the window's
// components. The start command and the restore walk it forwards, the library scan backwards.
const std::array<SlotRow, 19>& windowOrder();

// The slot names in alphabetical table order; the add command searches descriptions in this order.
const QStringList& SlotNames();

// The 21 file names of one track, exactly as spelled (letter case counts), in fixed order.
const QStringList& TrackFileSet();

// The row of `name`, or nullptr.
const SlotRow* findSlot(const QString& name);

} // namespace trackslots
