#pragma once

#include <QString>
#include <QWidget>

// A status bar that is not docked: one sunken panel holding one line of text. The panel keeps the width
// the layout gives it, but being the bar's last panel it is drawn to the bar's right end.
class StatusBar : public QWidget
{
    Q_OBJECT

public:
    StatusBar(int panelWidth, QWidget* parent);

    QString text() const { return m_text; }
    void setText(const QString& text);
    int panelWidth() const { return m_panelWidth; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_panelWidth;
    QString m_text;
};
