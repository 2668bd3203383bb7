#pragma once

// The program put together: the main window with the game, the voice, the cards, the about window and the
// banner connected to it, over the platform it is given.

#include "Scaling.h"
#include "Seams.h"

#include <QTranslator>

#include <functional>
#include <memory>

namespace cantabola {

class FrmBingo;
class Partida;

// What the program sets up on its application before the main window is built: Qt's own buttons ("Sí",
// "No", "Aceptar", "Cancelar") in Spanish, and the faces the design names mapped to installed ones.
class ApplicationSetup
{
public:
    ApplicationSetup();
    ~ApplicationSetup() = default;
    ApplicationSetup(const ApplicationSetup &) = delete;
    ApplicationSetup &operator=(const ApplicationSetup &) = delete;

private:
    QTranslator m_qtSpanish;
};

class Cantabola
{
public:
    explicit Cantabola(Platform &platform);
    ~Cantabola();

    // Loads and shows the main window. False when the screen was refused.
    bool start();
    // Runs `action` once, as soon as the main window has been painted for the first time: for work the
    // operator need not wait for before seeing the window, like loading the sound library.
    void afterFirstPaint(std::function<void()> action);

    FrmBingo &window() { return *m_window; }
    Partida &partida() { return *m_partida; }
    ScaleValues &scale() { return m_scale; }

private:
    ScaleValues m_scale;
    std::unique_ptr<FrmBingo> m_window;
    Partida *m_partida = nullptr; // owned by the window
};

} // namespace cantabola
