#pragma once

#include <QString>

// Where the skin component's message boxes go ("No GIF support!", the banner, the old-version
// warning): modal boxes by default; a program without a screen installs a collector instead.
class SkinMessages
{
public:
    virtual ~SkinMessages() = default;
    // Shows `text` modally with an OK button, captioned with the application title, and waits.
    virtual void show(const QString& text) = 0;
};

// The modal message boxes.
SkinMessages& boxSkinMessages();
