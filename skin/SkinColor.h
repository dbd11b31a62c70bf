#pragma once

#include <QRgb>
#include <QtGlobal>

// Colour values of skin files and of the component's properties: a non-negative value is $00BBGGRR
// (red in the low byte); a negative value names a system colour by its low byte (the Windows
// system colour index), resolved through the application palette whenever an RGB value is needed.
QRgb resolveColor(qint32 color);
