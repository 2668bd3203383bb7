#pragma once

// The program put together: the main window with the game, the voice, the cards, the about window and the
// banner connected to it, over the platform it is given.

#include "Scaling.h"
#include "Seams.h"

#include <QTranslator>

#include <functional>
#include <future>
#include <memory>

namespace cantabola {

class FrmBingo;
class Partida;

// What the program sets up on its application before the main window is built: Qt's own buttons ("Sí",
// "No", "Aceptar", "Cancelar") in Spanish, the faces the design names mapped to installed ones, and the
// system's list of fonts, read on a thread of its own while the window is built (fontconfig takes a few
// milliseconds over it, which the window's first paint would otherwise wait for).
class ApplicationSetup
{
public:
    ApplicationSetup();
    ~ApplicationSetup();
    ApplicationSetup(const ApplicationSetup &) = delete;
    ApplicationSetup &operator=(const ApplicationSetup &) = delete;

private:
    QTranslator m_qtSpanish;
    std::future<void> m_fontList;
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
