#include "ScaledWindow.h"

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

void ScaledWindow::applyWindowGeometry(const std::function<QPoint(QSize outer)> &position)
{
    const int width = m_controls->toPixelsX(m_props.width.value_or(0));
    const int height = m_controls->toPixelsY(m_props.height.value_or(0));
    if (!m_window.testAttribute(Qt::WA_WState_Created))
        m_window.winId(); // creates the native window
    const QSize frameExtra = m_window.frameGeometry().size() - m_window.geometry().size();
    m_window.resize(std::max(1, width - frameExtra.width()), std::max(1, height - frameExtra.height()));
    m_window.move(position(m_window.size() + frameExtra));
    if (m_props.fontSize) {
        QFont windowFont = m_window.font();
        windowFont.setPixelSize(m_controls->fontPixels(*m_props.fontSize));
        m_window.setFont(windowFont);
        // The controls keep the fonts they were given; only the window's default changes.
        m_controls->placeAll();
    }
}

} // namespace cantabola
