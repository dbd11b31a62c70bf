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

// The skin's own pieces: the window body, the title bump above it and the light dashboard inside.
inline constexpr QRect Body(12, 20, 571, 482);
inline constexpr QRect TitleBump(180, 2, 235, 48);
inline constexpr QRect Dashboard(62, 58, 449, 390);

// Hot areas: the title and the chequered strip at the bottom.
inline constexpr QRect TitleArea(214, 6, 150, 40);
inline constexpr QRect FlagArea(160, 462, 275, 26);

} // namespace defaultskin
