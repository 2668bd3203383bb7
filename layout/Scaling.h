// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Adapting a window laid out for an 800 x 600 screen at 15 twips per pixel to the screen it runs on.
// One horizontal and one vertical divisor are worked out from the screen; every position, size and font
// size of the window and its controls is divided by them, so the layout fills the same share of any screen.
// The arithmetic is kept in single precision, as the stored properties are.

#include "platform/ScreenInfo.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cantabola {

// The values the scaling module shares with the windows that call it.
struct ScaleValues
{
    std::int16_t DesignWidth = 0;
    std::int16_t DesignHeight = 0;
    float ScaleX = 0;
    float ScaleY = 0;
};

// The scalable properties of one window or control. A property the object lacks is absent and skipped:
// a scroll bar has no font size, a line has none of these at all.
struct ScalableProps
{
    std::optional<float> fontSize;
    std::optional<float> height;
    std::optional<float> width;
    std::optional<float> left;
    std::optional<float> top;
};

enum class WindowState { Normal, Minimised, Maximised };

struct ScalableControl
{
    std::string kind; // "label", "picturebox", "shape", "image", "commandbutton", ...
    std::string containerName; // the window's own name for a control placed directly on the window
    ScalableProps *props = nullptr;
    // Re-fits a label that sizes itself to its caption; empty for every other control.
    std::function<void()> refitToCaption;
};

class ScalableWindow
{
public:
    virtual ~ScalableWindow() = default;
    virtual std::string name() const = 0;
    virtual bool ajustado() const = 0;
    virtual void setAjustado(bool value) = 0;
    virtual WindowState state() const = 0;
    virtual ScalableProps &ownProps() = 0;
    // In the window's own order: array elements and controls inside panels included.
    virtual std::vector<ScalableControl> scalableControls() = 0;
};

// The two divisors for this screen; DesignWidth and DesignHeight must be set first.
void computeDivisors(ScaleValues &values, const ScreenInfo &screen);

void ScaleObject(ScalableProps &props, const ScaleValues &values);

// Recomputes ScaleX and ScaleY at every call; scales the window at most once in its life (ajustado).
// Returns true when it scaled the window.
bool ScaleWindowToScreen(ScalableWindow &window, ScaleValues &values, const ScreenInfo &screen);

// Whether a screen is too small to run on: 640 pixels wide or narrower at the usual densities.
bool screenTooSmall(const ScreenInfo &screen);

// The one screen the windows keep their design geometry on: 1024 x 768 pixels at 15 twips per pixel.
bool isDesignKeepingScreen(const ScreenInfo &screen);

} // namespace cantabola
