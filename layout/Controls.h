// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The controls of a window, each a real widget of its kind, with its geometry and font size kept in twips.
// Twips are the program's unit throughout; a control's twips become pixels only here, when its widget is
// placed, with the screen's twips per pixel.

#include "layout/Scaling.h"

#include <QString>

class QFrame;
class QLabel;
#include <QWidget>
#include <deque>
#include <optional>

namespace cantabola {

struct Control
{
    QString name; // "LblNumero(5)"
    QString kind; // "label", "image", "picturebox", "shape", "commandbutton", "hscrollbar", ...
    QWidget *widget = nullptr;
    const Control *container = nullptr; // nullptr: placed directly on the window
    ScalableProps props;
    bool autoSize = false; // a label that sizes itself to its caption
};

class ControlSet
{
public:
    ControlSet(QWidget *client, QString windowName);

    void setTwipsPerPixel(float x, float y);
    float twipsPerPixelX() const { return m_tppX; }
    float twipsPerPixelY() const { return m_tppY; }

    // Registers a widget created as a child of parentFor(container) and places it.
    Control &add(const QString &name, const QString &kind, QWidget *widget, const Control *container,
                 float left, float top, float width, float height,
                 std::optional<float> fontSize = std::nullopt);

    QWidget *parentFor(const Control *container) const;
    Control *find(const QString &name);
    const std::deque<Control> &all() const { return m_controls; }

    void place(const Control &control) const;
    void placeAll() const;
    // A self-sizing label takes the size of its caption, keeping its left and top.
    void refit(Control &control) const;

    std::vector<ScalableControl> scalableControls();

    int toPixelsX(float twips) const;
    int toPixelsY(float twips) const;
    float toTwipsX(int pixels) const { return static_cast<float>(pixels) * m_tppX; }
    float toTwipsY(int pixels) const { return static_cast<float>(pixels) * m_tppY; }
    // Font sizes are rendered from the twips per pixel too (a point is 20 twips), so that text keeps its
    // proportion to the controls whatever density the toolkit itself assumes.
    int fontPixels(float points) const;

private:
    QWidget *m_client;
    QString m_windowName;
    float m_tppX = 15;
    float m_tppY = 15;
    std::deque<Control> m_controls; // a deque keeps references stable as controls are added
};

} // namespace cantabola

namespace cantabola {

// Text and background colours of a control, as 0x00BBGGRR values. A transparent label keeps its background
// colour as a property that does not show.
void setForeColour(QWidget *widget, std::uint32_t colour);
std::uint32_t foreColour(const QWidget *widget);
void setBackColour(QWidget *widget, std::uint32_t colour, bool opaque);
std::uint32_t backColour(const QWidget *widget);

// Puts the controls of each container in the drawing order of the design: among labels, images and shapes an
// entry defined earlier is drawn in front of one defined later; buttons, scroll bars, panels and components
// are always in front of those.
void applyDrawingOrder(const ControlSet &controls);

// The design's kinds of controls as widgets: a sunken black panel (a picture box), an image ("bola.gif", one
// of the built-in pictures) that lets clicks through to what is under it, and a centred label that does too.
QFrame *makePanel(QWidget *parent);
QLabel *makeImage(QWidget *parent, const QString &picture);
QLabel *makeLabel(QWidget *parent, const QString &caption, const QFont &font);

} // namespace cantabola
