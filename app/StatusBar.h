#pragma once

#include <QString>
#include <QWidget>

// A status bar that is not docked: one sunken panel holding one line of text. The panel keeps the width
// the layout gives it, but being the bar's last panel it is drawn to the bar's right end. A text too
// long for the bar ends in "…" and shows whole as the bar's tool tip.
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
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QRect textRect() const;
    void updateToolTip();

    int m_panelWidth;
    QString m_text;
};
