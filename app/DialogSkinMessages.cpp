#include "app/DialogSkinMessages.h"

#include "platform/Dialogs.h"

void DialogSkinMessages::show(const QString& text)
{
    platform::dialogs().message(m_window, text);
}
