#pragma once

// The program put together: the main window with the game, the voice, the cards, the about window and the
// banner connected to it, over the platform it is given.

#include "Scaling.h"
#include "Seams.h"

#include <memory>

namespace cantabola {

class FrmBingo;
class Partida;

class Cantabola
{
public:
    explicit Cantabola(Platform &platform);
    ~Cantabola();

    // Loads and shows the main window. False when the screen was refused.
    bool start();

    FrmBingo &window() { return *m_window; }
    Partida &partida() { return *m_partida; }
    ScaleValues &scale() { return m_scale; }

private:
    ScaleValues m_scale;
    std::unique_ptr<FrmBingo> m_window;
    Partida *m_partida = nullptr; // owned by the window
};

} // namespace cantabola
