// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the other windows know of the main window: they open over it and take the machine and the scaling
// values from it; the card window also takes its outer size, the number of cards chosen and whether
// they are numbered.

#include "layout/Scaling.h"
#include "platform/WindowSeams.h"

#include <cstdint>

class QWidget;

namespace cantabola {

class MainWindow
{
public:
    virtual ~MainWindow() = default;
    virtual QWidget &widget() = 0;
    virtual Platform &platform() const = 0;
    virtual ScaleValues &scale() const = 0;
    // How many cards the card window shows: 1 to 4, or 0 until a card menu item has been chosen.
    virtual std::uint8_t NumberOfCards() const = 0;
    // The main window's outer size and position in twips as they are now: the operator may have resized it.
    virtual ScalableProps outerGeometry() const = 0;
    // "Numerar cartones": each printed card gets a serial and is kept in the card registry.
    virtual bool cardsNumbered() const = 0;
};

} // namespace cantabola
