#include "Partida.h"

#include "AppInfo.h"
#include "DecirNumero.h"
#include "Drum.h"
#include "FrmBingo.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>

namespace cantabola {

namespace {
constexpr double oneByOnePause = 0.7;
} // namespace

Partida::Partida(FrmBingo &window)
    : QObject(&window)
    , m_window(window)
{
    FrmBingo &w = m_window;
    connect(w.CmbStart, &QPushButton::clicked, this, &Partida::CmbStart_Click);
    connect(w.SM_GetNumber, &QAction::triggered, this, &Partida::CmbStart_Click);
    connect(w.CmbNuevo, &QPushButton::clicked, this, &Partida::CmbNuevo_Click);
    connect(w.SM_New, &QAction::triggered, this, &Partida::CmbNuevo_Click);
    connect(w.SM_Auto, &QAction::triggered, this, &Partida::SM_Auto_Click);
    connect(w.SM_Voice, &QAction::triggered, this, &Partida::SM_Voice_Click);
    connect(w.SM_play, &QAction::triggered, this, &Partida::SM_play_Click);
}

void Partida::CmbStart_Click()
{
    FrmBingo &w = m_window;
    if (!w.ModoAutomatico) {
        SacarBola(false);
        return;
    }
    if (w.CmbStart->text() == captionStart) {
        setCallingControlsEnabled(false);
        w.CmbStart->setText(captionStop);
        SacarBola(true);
    }
    // A stop click arrives here nested inside the wait of the run it stops: it gives the controls back at
    // once, and the run ends when its wait is over and it finds the caption changed.
    if (w.CmbStart->text() == captionStop) {
        setCallingControlsEnabled(true);
        w.CmbStart->setText(captionStart);
    }
}

void Partida::setCallingControlsEnabled(bool enabled)
{
    FrmBingo &w = m_window;
    FrmBingo::setMenuEnabled(w.M_Options, enabled);
    FrmBingo::setMenuEnabled(w.M_Play, enabled);
    w.CmbImprimir->setEnabled(enabled);
    w.CmbNuevo->setEnabled(enabled);
}

void Partida::SacarBola(bool automatico)
{
    FrmBingo &w = m_window;
    Platform &platform = w.platform();
    platform.random.reseed(platform.clock.secondsSinceMidnight());

    if (!automatico) {
        // The button stays grey until the announcement has had 0.7 seconds, so a second click cannot cut it
        // short.
        w.CmbStart->setEnabled(false);
        if (w.BolasSacadas == 90) {
            endOfGamePrompt();
            return;
        }
        drawStep();
        w.Espera(oneByOnePause);
        w.CmbStart->setEnabled(true);
        return;
    }

    if (w.BolasSacadas == 90) {
        endOfGamePrompt();
        return;
    }
    for (;;) {
        drawStep();
        // The delay is read after every ball, so a change during the calling applies from the next wait.
        w.Espera(w.HscInterval->value() / 2.0);
        if (w.CmbStart->text() == captionStart)
            return;
        QCoreApplication::processEvents();
        if (w.BolasSacadas >= 90) {
            endOfGamePrompt();
            return;
        }
    }
}

void Partida::drawStep()
{
    FrmBingo &w = m_window;
    if (w.BolasSacadas >= 90)
        return; // an empty drum has no ball to give
    Platform &platform = w.platform();
    const int n = chooseBall(w.BolaSacada, [&platform] { return platform.random.next(); });
    const auto index = static_cast<std::size_t>(n);
    w.NumEnJuego = static_cast<std::int16_t>(n);
    w.BolaSacada[index] = true;
    ++w.BolasSacadas;

    // The number is on the screen before it is announced: a tens word holds the thread while it is spoken.
    w.LblNumEnJuego->setText(QString::number(n));
    w.LblNumEnJuego->repaint();
    setForeColour(w.LblNumero[index], FrmBingo::colourDrawn);
    w.LblNumero[index]->repaint();

    if (w.SM_Voice->isChecked())
        DecirNumero(platform.sound, n);
    else
        platform.sound.play(QStringLiteral("pac.wav"), PlayMode::Async);
}

void Partida::endOfGamePrompt()
{
    FrmBingo &w = m_window;
    Platform &platform = w.platform();
    const MessageAnswer answer = platform.messages.show(
        &w, {endOfGameQuestion, app::title, MessageIcon::Question, MessageButtons::YesNo});
    if (answer != MessageAnswer::Yes) {
        platform.process.endProcess();
        return;
    }
    w.BolasSacadas = 0;
    CmbNuevo_Click();
    w.CmbStart->setEnabled(true);
}

void Partida::CmbNuevo_Click()
{
    FrmBingo &w = m_window;
    for (std::size_t i = 1; i <= 90; ++i) {
        setBackColour(w.LblNumero[i], FrmBingo::colourBoardBack, false);
        setForeColour(w.LblNumero[i], FrmBingo::colourNotDrawn);
    }
    w.BolasSacadas = 0;
    w.BolaSacada.fill(false);
    w.LblNumEnJuego->setText(QString());
}

void Partida::SM_Auto_Click()
{
    // The item's check mark has already been inverted by the menu.
    FrmBingo &w = m_window;
    w.CmbStart->setEnabled(true);
    w.ModoAutomatico = w.SM_Auto->isChecked();
}

void Partida::SM_Voice_Click()
{
    // With the voice on a word needs time to be heard: the shortest delay becomes 2 seconds. The bar raises a
    // value below its new minimum by itself, and the delay label follows.
    FrmBingo &w = m_window;
    w.HscInterval->setRange(w.SM_Voice->isChecked() ? 4 : 1, 10);
}

void Partida::SM_play_Click()
{
    FrmBingo &w = m_window;
    w.platform().help.showContents(QDir::current().absoluteFilePath(FrmBingo::helpFileName));
}

} // namespace cantabola
