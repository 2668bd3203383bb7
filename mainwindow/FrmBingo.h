#pragma once

// The main window: the board of 90 numbers, the number just drawn over the large ball, the start button, the
// delay bar, the banner and the menus. Other parts of the program reach its controls and game state by name,
// as the window's public members, and connect their handlers to them.

#include "Controls.h"
#include "Scaling.h"
#include "Seams.h"

#include <QMainWindow>
#include <array>
#include <cstdint>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QTimer;

namespace cantabola {

class AniGif;
class BingoClient;

class FrmBingo : public QMainWindow, public ScalableWindow
{
    Q_OBJECT

public:
    FrmBingo(Platform &platform, ScaleValues &scale, QWidget *parent = nullptr);
    ~FrmBingo() override;

    // Start-up, run once: seeds the generator, arms the banner timer, checks the screen, adapts the window to
    // it, builds the board and shows the window. Returns false when the screen was refused (the process has
    // then been ended).
    bool Load();

    // Colours of the board labels, 0x00BBGGRR.
    static constexpr std::uint32_t colourNotDrawn = 0x00C0C0C0;
    static constexpr std::uint32_t colourDrawn = 0x000000FF;
    static constexpr std::uint32_t colourBoardBack = 0x00E0E0E0;

    // Game state.
    std::array<bool, 91> BolaSacada {};
    std::uint8_t BolasSacadas = 0;
    std::int16_t NumEnJuego = 0;
    bool ModoAutomatico = false;

    // Banner state.
    int BannerCounter = 0;
    QString BannerUrl;

    // Number of cards the card window shows (0 until a card menu item is chosen).
    std::uint8_t NumberOfCards = 0;

    // Panels and their controls.
    QFrame *Picture4 = nullptr;
    AniGif *AniGIF1 = nullptr;
    QFrame *Picture3 = nullptr;
    QLabel *LblNumEnJuego = nullptr;
    QLabel *ImgBolaGrande = nullptr;
    QLabel *ImgTitulo = nullptr;
    QFrame *Picture2 = nullptr;
    QPushButton *CmbNuevo = nullptr;
    QPushButton *CmbImprimir = nullptr;
    QPushButton *CmbStart = nullptr;
    QScrollBar *HscInterval = nullptr;
    QLabel *LblDelay = nullptr;
    QFrame *Picture1 = nullptr;
    std::array<QLabel *, 91> LblNumero {}; // 1 to 90; element 0 does not exist
    std::array<QLabel *, 91> ImgBola {}; // 0 is the hidden template, 1 to 90 are made at start-up
    QTimer *Timer1 = nullptr;

    // Menus.
    QMenu *M_Play = nullptr;
    QAction *SM_New = nullptr;
    QAction *SM_GetNumber = nullptr;
    QMenu *SM_Print = nullptr;
    std::array<QAction *, 5> SM_Cards {}; // SM_1 to SM_4 at 1 to 4
    QAction *SM_End = nullptr;
    QMenu *M_Options = nullptr;
    QAction *SM_Auto = nullptr;
    QAction *SM_Voice = nullptr;
    QMenu *SM_Help = nullptr;
    QAction *SM_play = nullptr;
    QAction *SM_AcercaDe = nullptr;

    // The help document the help menu opens, in the program's folder.
    static inline const QString helpFileName = QStringLiteral("ayudabingo.html");

    Platform &platform() const { return m_platform; }
    ScaleValues &scale() const { return m_scale; }
    ControlSet &controls() { return m_controls; }
    Control &control(const QString &name);

    // Waits the given seconds while serving window events: clicks, ticks and repaints run inside the wait.
    void Espera(double seconds) { m_platform.waiter.waitDispatching(seconds); }

    // Writes the delay in seconds, the bar's value divided by 2, into LblDelay.
    void updateDelayLabel();
    // Enables or disables a top-level menu with its title in the menu bar.
    static void setMenuEnabled(QMenu *menu, bool enabled);
    static bool menuEnabled(const QMenu *menu);

    // The window's own geometry in twips (outer size and position) and whether it is stretched over the
    // background picture painted at start-up on a 1024-pixel screen at 12 twips per pixel.
    ScalableProps &windowProps() { return m_props; }
    QSize stretchedBackground() const;

    // ScalableWindow
    std::string name() const override { return "FrmBingo"; }
    bool ajustado() const override { return m_ajustado; }
    void setAjustado(bool value) override { m_ajustado = value; }
    WindowState state() const override;
    ScalableProps &ownProps() override { return m_props; }
    std::vector<ScalableControl> scalableControls() override { return m_controls.scalableControls(); }

signals:
    // The window was closed (close box or "Salir"); the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void applyWindowGeometry();
    void buildBoard(const ScreenInfo &screen);

    Platform &m_platform;
    ScaleValues &m_scale;
    BingoClient *m_client;
    ControlSet m_controls;
    ScalableProps m_props;
    bool m_ajustado = false;
};

} // namespace cantabola
