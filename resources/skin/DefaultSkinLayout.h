#pragma once

#include <QRect>
#include <QSize>

// Where the main window's controls lie (window pixels); the default skin's pictures are drawn around them.
namespace defaultskin {

inline constexpr QSize WindowSize(595, 510);

inline constexpr QRect StandardLabel(168, 65, 107, 13);
inline constexpr QRect NewTracksLabel(96, 81, 183, 13);
inline constexpr QRect StandardRadio(288, 66, 17, 17);
inline constexpr QRect NewTracksRadio(288, 81, 17, 17);
inline constexpr QRect ExitArea(488, 30, 25, 25);
inline constexpr QRect SlotArea(84, 93, 409, 217);
inline constexpr QRect LeftScrollBox(84 + 118, 93 + 16, 81, 193);
inline constexpr QRect RightScrollBox(84 + 211, 93 + 16, 81, 193);
inline constexpr QRect Settings(75, 310, 326, 93);
inline constexpr QRect StartButton(408, 314, 89, 25);
inline constexpr QRect AddButton(408, 343, 89, 25);
inline constexpr QRect HelpButton(408, 371, 89, 25);
inline constexpr QRect HintBar(81, 402, 406, 19);
inline constexpr QRect ProgressBar(115, 419, 338, 19);

// The skin's own pieces: the window body and the title bump above it.
inline constexpr QRect Body(12, 20, 571, 482);
inline constexpr QRect TitleBump(180, 2, 235, 48);

// The panels drawn for the control groups. The metal deck holds the mode switch and the settings;
// the light inset the slot rows and the scroll boxes; the dark console the three buttons and the two
// status bars, which touch the settings and each other so that no edge fits between them. On the
// deck's tone the faint frames the toolkit draws for the two group boxes all but vanish, so no frame
// shows twice.
inline constexpr QRect Deck(60, 60, 453, 393);
inline constexpr int DeckRadius = 14;
inline constexpr QRect SlotInset(88, 103, 401, 203);
inline constexpr int SlotInsetRadius = 4;
inline constexpr QRect ButtonBay(403, 310, 99, 115);
inline constexpr int ConsoleMargin = 4;
inline constexpr int ConsoleRadius = 5;

// Hot areas: the title, the chequered strip at the bottom and a ring around the exit button (the
// exit area itself belongs to the window's own control, which takes the pointer there).
inline constexpr QRect TitleArea(222, 6, 134, 40);
inline constexpr QRect FlagArea(160, 462, 275, 26);
inline constexpr QRect ExitRing(ExitArea.adjusted(-4, -4, 4, 4));
inline constexpr int ExitRadius = 7;

} // namespace defaultskin
