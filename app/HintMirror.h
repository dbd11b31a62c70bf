#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWindow>

#include <functional>

class QWidget;

// Mirrors the hint of the control under the pointer (its status tip, or that of its nearest ancestor
// that has one; empty where none has) to a sink, re-evaluated after every pointer move and whenever
// the caller says a hint has changed. The evaluation waits for the event loop's next turn so that a
// control that rewrites its own hint on the same move is seen with its new hint.
class HintMirror : public QObject
{
    Q_OBJECT

public:
    using Sink = std::function<void(const QString& hint)>;

    explicit HintMirror(Sink sink, QObject* parent = nullptr);
    ~HintMirror() override;

    // The hint of `widget`: its own status tip or that of its nearest ancestor with one.
    static QString hintOf(const QWidget* widget);

    // Schedules a re-evaluation (coalesced).
    void hintChanged();
    // Evaluates now.
    void evaluate();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* widgetUnderPointer() const;

    Sink m_sink;
    QPointer<QWindow> m_window;
    QPoint m_position;
    bool m_pending = false;
};
