// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The about window: the program's title, version and a few words about it, a sound as it opens, and a link
// to the authors' web page. It is modal, opened from the main window's help menu, created afresh at every
// opening and destroyed when closed.

#include "layout/Controls.h"
#include "platform/WindowSeams.h"

#include <QDialog>
#include <array>
#include <cstdint>

class QFrame;
class QLabel;
class QPushButton;

namespace cantabola {

class MainWindow;

class frmAbout : public QDialog
{
    Q_OBJECT

public:
    // Builds the window as designed and loads it: the sound plays and the texts are filled in.
    explicit frmAbout(Platform &platform, QWidget *parent = nullptr);

    // Inner size in twips; the window is never rescaled.
    static constexpr float innerWidth = 5940;
    static constexpr float innerHeight = 3555;

    // Texts and colours of the design.
    static inline const QString description = QStringLiteral(
        "Cantabola 2001 es un juego totalmente gratuito para el entretenimiento de toda la familia. Para más "
        "información sobre juegos shareware y freeware visita mi página pinchando en el enlace de abajo.");
    static constexpr std::uint32_t linkColour = 0x000000C0;
    // The tip of the pointing finger in the hand pointer shown over the link.
    static constexpr int handHotX = 10;
    static constexpr int handHotY = 1;

    QPushButton *cmdOK = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Image1 = nullptr;
    std::array<QFrame *, 2> Line1{};
    QLabel *lblDescription = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;

    ControlSet &controls() { return m_controls; }

    // Handlers.
    void Form_Load();
    void cmdOK_Click();
    void Label1_Click();

    // Esc, and the close box, press "Aceptar".
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void buildControls();
    void centreOnScreen();

    Platform &m_platform;
    ControlSet m_controls;
    QSize m_centredWithFrame{-1, -1};
};

// "Acerca de ...": shows the about window over the main window and returns when it has been closed.
void showAboutWindow(MainWindow &main);

} // namespace cantabola
