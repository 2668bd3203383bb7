// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/ScaledWindow.h"

#include <QEvent>

namespace cantabola {

ScaledWindow::ScaledWindow(QWidget &window, std::string name)
    : m_window(window)
    , m_name(std::move(name))
    , m_controls(std::make_unique<ControlSet>(&window, QString::fromStdString(m_name)))
{
}

Control &ScaledWindow::control(const QString &name)
{
    Control *found = m_controls->find(name);
    Q_ASSERT(found);
    return *found;
}

WindowState ScaledWindow::state() const
{
    if (m_window.isMaximized())
        return WindowState::Maximised;
    if (m_window.isMinimized())
        return WindowState::Minimised;
    return WindowState::Normal;
}

ControlSet &ScaledWindow::resetControls(QWidget *client, const ScreenInfo &screen)
{
    m_controls = std::make_unique<ControlSet>(client, QString::fromStdString(m_name));
    m_controls->setTwipsPerPixel(screen.twipsPerPixelX, screen.twipsPerPixelY);
    return *m_controls;
}

// Watches a window for the frame the window manager gives it, which changes its outer size.
class FrameWatch : public QObject
{
public:
    FrameWatch(QWidget &window, ScaledWindow &owner)
        : QObject(&window)
        , m_owner(owner)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject * /*watched*/, QEvent *event) override
    {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::Show)
            m_owner.fitOuterSize();
        return false;
    }

private:
    ScaledWindow &m_owner;
};

void ScaledWindow::applyWindowGeometry(const std::function<QPoint(QSize outer)> &position)
{
    m_outer = QSize(m_controls->toPixelsX(m_props.width.value_or(0)),
                    m_controls->toPixelsY(m_props.height.value_or(0)));
    m_position = position;
    m_frameApplied = QSize(-1, -1);
    if (!m_frameWatch)
        m_frameWatch = new FrameWatch(m_window, *this);
    fitOuterSize();
    if (m_props.fontSize) {
        QFont windowFont = m_window.font();
        windowFont.setPixelSize(m_controls->fontPixels(*m_props.fontSize));
        m_window.setFont(windowFont);
        // The controls keep the fonts they were given; only the window's default changes.
        m_controls->placeAll();
    }
}

void ScaledWindow::fitOuterSize()
{
    const QSize frame = m_window.frameGeometry().size() - m_window.geometry().size();
    if (frame == m_frameApplied || !m_position
        || (m_window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return; // the operator's own moves and resizes are left alone
    m_frameApplied = frame;
    m_window.resize(std::max(1, m_outer.width() - frame.width()),
                    std::max(1, m_outer.height() - frame.height()));
    m_window.move(m_position(m_outer));
}

} // namespace cantabola
