#include "app/HintMirror.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

HintMirror::HintMirror(Sink sink, QObject* parent)
    : QObject(parent)
    , m_sink(std::move(sink))
{
    qApp->installEventFilter(this);
}

HintMirror::~HintMirror()
{
    qApp->removeEventFilter(this);
}

QString HintMirror::hintOf(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (!widget->statusTip().isEmpty())
            return widget->statusTip();
    }
    return {};
}

void HintMirror::hintChanged()
{
    if (m_pending)
        return;
    m_pending = true;
    QTimer::singleShot(0, this, &HintMirror::evaluate);
}

void HintMirror::evaluate()
{
    m_pending = false;
    m_sink(hintOf(widgetUnderPointer()));
}

bool HintMirror::eventFilter(QObject* watched, QEvent* event)
{
    // Pointer events reach the window before any widget, whether or not the widget tracks the mouse.
    auto* window = qobject_cast<QWindow*>(watched);
    if (!window)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::Enter:
        m_window = window;
        m_position = static_cast<QSinglePointEvent*>(event)->position().toPoint();
        hintChanged();
        break;
    case QEvent::Leave:
        if (m_window == window) {
            m_window = nullptr;
            hintChanged();
        }
        break;
    default:
        break;
    }
    return false;
}

QWidget* HintMirror::widgetUnderPointer() const
{
    if (!m_window)
        return nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->windowHandle() == m_window && top->isVisible()) {
            QWidget* child = top->childAt(m_position);
            return child ? child : top;
        }
    }
    return nullptr;
}
