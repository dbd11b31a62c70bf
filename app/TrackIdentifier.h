#pragma once

#include <QString>
#include <QStringList>

// How the add command recognises a track: a text file of the archive that names one of the slots.
namespace trackid {

// An unpacked entry other than the 21 track files is read as a possible description. The comparison
// is exact, letter case included: "TR.FRD" is not "Tr.frd" and so gets read.
bool isDescriptionCandidate(const QString& entryName);

// The slots whose names occur in `line` without regard to letter case, in slot table order. A name
// inside a longer word counts ("UK" in "DUKE").
QStringList slotsNamedIn(const QString& line);

// The question put to the user for a matched slot; the lines are separated by LF CR pairs.
QString slotQuestion(const QString& caption, const QString& slot, const QString& hint);

// `text` with every LF CR pair (and any lone CR) turned into the LF a Qt message box breaks lines at.
QString forDisplay(const QString& text);

} // namespace trackid
