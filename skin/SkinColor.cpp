#include "skin/SkinColor.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>

namespace {

struct SystemColorRole
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr auto A = QPalette::Active;
constexpr auto I = QPalette::Inactive;
constexpr auto D = QPalette::Disabled;

// Windows system colour indices 0..30 and the palette entries that play their part here.
constexpr std::array<SystemColorRole, 31> SystemColorRoles{{
    {A, QPalette::Button},          // 0 COLOR_SCROLLBAR
    {A, QPalette::Dark},            // 1 COLOR_BACKGROUND (the desktop)
    {A, QPalette::Highlight},       // 2 COLOR_ACTIVECAPTION
    {I, QPalette::Highlight},       // 3 COLOR_INACTIVECAPTION
    {A, QPalette::Window},          // 4 COLOR_MENU
    {A, QPalette::Base},            // 5 COLOR_WINDOW
    {A, QPalette::Shadow},          // 6 COLOR_WINDOWFRAME
    {A, QPalette::WindowText},      // 7 COLOR_MENUTEXT
    {A, QPalette::WindowText},      // 8 COLOR_WINDOWTEXT
    {A, QPalette::HighlightedText}, // 9 COLOR_CAPTIONTEXT
    {A, QPalette::Window},          // 10 COLOR_ACTIVEBORDER
    {I, QPalette::Window},          // 11 COLOR_INACTIVEBORDER
    {A, QPalette::Dark},            // 12 COLOR_APPWORKSPACE
    {A, QPalette::Highlight},       // 13 COLOR_HIGHLIGHT
    {A, QPalette::HighlightedText}, // 14 COLOR_HIGHLIGHTTEXT
    {A, QPalette::Button},          // 15 COLOR_BTNFACE
    {A, QPalette::Dark},            // 16 COLOR_BTNSHADOW
    {D, QPalette::Text},            // 17 COLOR_GRAYTEXT
    {A, QPalette::ButtonText},      // 18 COLOR_BTNTEXT
    {I, QPalette::HighlightedText}, // 19 COLOR_INACTIVECAPTIONTEXT
    {A, QPalette::Light},           // 20 COLOR_BTNHIGHLIGHT
    {A, QPalette::Shadow},          // 21 COLOR_3DDKSHADOW
    {A, QPalette::Midlight},        // 22 COLOR_3DLIGHT
    {A, QPalette::ToolTipText},     // 23 COLOR_INFOTEXT
    {A, QPalette::ToolTipBase},     // 24 COLOR_INFOBK
    {A, QPalette::NoRole},          // 25 unused
    {A, QPalette::Link},            // 26 COLOR_HOTLIGHT
    {A, QPalette::Highlight},       // 27 COLOR_GRADIENTACTIVECAPTION
    {I, QPalette::Highlight},       // 28 COLOR_GRADIENTINACTIVECAPTION
    {A, QPalette::Highlight},       // 29 COLOR_MENUHILIGHT
    {A, QPalette::Window},          // 30 COLOR_MENUBAR
}};

QRgb systemColor(int index)
{
    if (index >= int(SystemColorRoles.size()) || SystemColorRoles[index].role == QPalette::NoRole)
        return qRgb(0, 0, 0);
    const SystemColorRole entry = SystemColorRoles[index];
    return QGuiApplication::palette().color(entry.group, entry.role).rgb() | 0xff000000u;
}

} // namespace

QRgb resolveColor(qint32 color)
{
    if (color < 0)
        return systemColor(color & 0xff);
    return qRgb(color & 0xff, (color >> 8) & 0xff, (color >> 16) & 0xff);
}
