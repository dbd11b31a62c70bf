#pragma once

#include <QByteArray>

namespace defaultskin {

inline constexpr char MaskFile[] = "skin_mask.bmp";
inline constexpr char RestFile[] = "skin_up.bmp";
inline constexpr char HoverFile[] = "skin_on.bmp";
inline constexpr char PressedFile[] = "skin_down.bmp";

// The skin definition file naming the four pictures, with CR LF line ends as skin files have.
QByteArray defaultSkinIni();

} // namespace defaultskin
