// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/Scaling.h"

#include <algorithm>
#include <cctype>

namespace cantabola {

namespace {

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

void divide(std::optional<float> &property, float divisor)
{
    if (property)
        *property = static_cast<float>(static_cast<double>(*property) / static_cast<double>(divisor));
}

} // namespace

void computeDivisors(ScaleValues &values, const ScreenInfo &screen)
{
    values.ScaleX = static_cast<float>(static_cast<double>(values.DesignWidth) * screen.twipsPerPixelX
                                       / static_cast<double>(screen.widthTwips));
    values.ScaleY = static_cast<float>(static_cast<double>(values.DesignHeight) * screen.twipsPerPixelY
                                       / static_cast<double>(screen.heightTwips));
    // A twip is fewer pixels at 12 twips per pixel than on the design screen; this keeps the design's
    // proportions in pixels.
    if (screen.twipsPerPixelX == 12.0F) {
        values.ScaleX = static_cast<float>(static_cast<double>(values.ScaleX) / 0.8);
        values.ScaleY = static_cast<float>(static_cast<double>(values.ScaleY) / 0.8);
    }
}

void ScaleObject(ScalableProps &props, const ScaleValues &values)
{
    // The font follows the horizontal divisor only, and goes first so that a self-sizing label has
    // already re-fitted itself before its height and width are divided.
    divide(props.fontSize, values.ScaleX);
    divide(props.height, values.ScaleY);
    divide(props.width, values.ScaleX);
    divide(props.left, values.ScaleX);
    divide(props.top, values.ScaleY);
}

bool ScaleWindowToScreen(ScalableWindow &window, ScaleValues &values, const ScreenInfo &screen)
{
    computeDivisors(values, screen);
    if ((values.ScaleX == 1.0F && values.ScaleY == 1.0F) || window.ajustado())
        return false;

    if (window.state() == WindowState::Normal)
        ScaleObject(window.ownProps(), values);

    const std::string windowName = lowered(window.name());
    for (ScalableControl &control : window.scalableControls()) {
        if (!control.props)
            continue;
        ScaleObject(*control.props, values);
        const bool onWindow = lowered(control.containerName) == windowName;
        if (onWindow && lowered(control.kind) == "label" && control.refitToCaption)
            control.refitToCaption();
    }
    window.setAjustado(true);
    return true;
}

bool screenTooSmall(const ScreenInfo &screen)
{
    if (screen.widthTwips <= 9600.0F && screen.twipsPerPixelX == 15.0F)
        return true;
    return screen.widthTwips <= 7680.0F;
}

bool isDesignKeepingScreen(const ScreenInfo &screen)
{
    return screen.widthTwips == 15360.0F && screen.heightTwips == 11520.0F;
}

} // namespace cantabola
