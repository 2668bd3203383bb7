// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the two windows laid out for the design screen share: their controls, their own geometry in twips,
// whether they have been scaled to the screen, and putting that geometry on the screen.

#include "layout/Controls.h"
#include "layout/Scaling.h"

#include <functional>
#include <memory>
#include <string>

namespace cantabola {

class ScaledWindow : public ScalableWindow
{
public:
    ScaledWindow(QWidget &window, std::string name);

    ControlSet &controls() { return *m_controls; }
    const ControlSet &controls() const { return *m_controls; }
    // A control of the current set by its design name ("LblNumero(5)"); it must exist.
    Control &control(const QString &name);
    // The window's own geometry in twips: outer size and position.
    ScalableProps &windowProps() { return m_props; }
    const ScalableProps &windowProps() const { return m_props; }

    // ScalableWindow
    std::string name() const override { return m_name; }
    bool ajustado() const override { return m_ajustado; }
    void setAjustado(bool value) override { m_ajustado = value; }
    WindowState state() const override;
    ScalableProps &ownProps() override { return m_props; }
    std::vector<ScalableControl> scalableControls() override { return m_controls->scalableControls(); }

protected:
    // A fresh, empty set of controls on client, at the screen's twips per pixel.
    ControlSet &resetControls(QWidget *client, const ScreenInfo &screen);

    // Gives the window the outer size of its props, title bar and border included, moves it where position
    // puts a window of that outer size, and gives it the font size of its props. The window manager tells the
    // size of its frame only once the window is on the screen: the size and place are applied again then.
    void applyWindowGeometry(const std::function<QPoint(QSize outer)> &position);

private:
    friend class FrameWatch;
    void fitOuterSize();

    QObject *m_frameWatch = nullptr; // owned by the window
    std::function<QPoint(QSize outer)> m_position;
    QSize m_outer; // in pixels, frame included
    QSize m_frameApplied; // the frame the size was last worked out with
    QWidget &m_window;
    std::string m_name;
    std::unique_ptr<ControlSet> m_controls;
    ScalableProps m_props;
    bool m_ajustado = false;
};

} // namespace cantabola
