#pragma once

// A main window with its game, loaded on a fake 1024 x 768 screen, and the checks a person would make of the
// board after every step.

#include "Colour.h"
#include "FakePlatform.h"
#include "FrmBingo.h"
#include "Partida.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace cantabola::testing {

struct Game
{
    Game()
    {
        window = std::make_unique<FrmBingo>(fake.platform, scale);
        partida = new Partida(*window);
        window->Load();
    }

    void clickStart() { QTest::mouseClick(window->CmbStart, Qt::LeftButton); }

    // The balls the drum says are out.
    int drawnFlags() const
    {
        int count = 0;
        for (int n = 1; n <= 90; ++n)
            count += window->BolaSacada[static_cast<std::size_t>(n)] ? 1 : 0;
        return count;
    }

    // The count, the drum and the board agree: a number is red exactly when its ball is out.
    bool boardAgreesWithDrum() const
    {
        if (window->BolasSacadas != drawnFlags() || window->BolasSacadas > 90)
            return false;
        for (int n = 1; n <= 90; ++n) {
            const auto i = static_cast<std::size_t>(n);
            const std::uint32_t expected = window->BolaSacada[i] ? FrmBingo::colourDrawn : FrmBingo::colourNotDrawn;
            if (foreColour(window->LblNumero[i]) != expected)
                return false;
        }
        return true;
    }

    bool callingControlsEnabled() const
    {
        return FrmBingo::menuEnabled(window->M_Play) && FrmBingo::menuEnabled(window->M_Options)
            && window->CmbNuevo->isEnabled() && window->CmbImprimir->isEnabled();
    }
    bool callingControlsDisabled() const
    {
        return !FrmBingo::menuEnabled(window->M_Play) && !FrmBingo::menuEnabled(window->M_Options)
            && !window->CmbNuevo->isEnabled() && !window->CmbImprimir->isEnabled();
    }

    FakePlatform fake;
    ScaleValues scale;
    std::unique_ptr<FrmBingo> window;
    Partida *partida = nullptr;
};

} // namespace cantabola::testing
