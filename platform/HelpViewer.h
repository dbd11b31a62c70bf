#pragma once

#include <QTextBrowser>

// The help: HTML pages beside the program, under the help file's base name ("rovex10.hlp" has its
// pages in "help/", the contents page being "help/rovex10.html"), shown in a window of our own.
namespace platform {

class HelpViewer : public QTextBrowser
{
    Q_OBJECT

public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // The contents page that belongs to `helpFile`.
    static QString contentsPage(const QString& helpFile);

    // Shows the contents page of `helpFile` and raises the window; false when the page is missing.
    bool showContents(const QString& helpFile);
};

} // namespace platform
