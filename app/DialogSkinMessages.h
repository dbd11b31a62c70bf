#pragma once

#include "skin/SkinMessages.h"

class QWidget;

// Shows the skin component's messages through the program's dialogs, so they are answered the same
// way as the program's own (and collected by tests).
class DialogSkinMessages final : public SkinMessages
{
public:
    explicit DialogSkinMessages(QWidget* window)
        : m_window(window)
    {
    }
    void show(const QString& text) override;

private:
    QWidget* m_window;
};
