// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program as main() puts it together (the game, the main window, the card and about windows), loaded on
// the fake platform, and what a person would look at: controls found by their design names, and whether the
// board agrees with the game.

#include "app/Cantabola.h"
#include "mainwindow/Board.h"
#include "mainwindow/FrmBingo.h"
#include "platform/QtColour.h"
#include "support/FakePlatform.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <functional>
#include <memory>

namespace cantabola::testing {

// A widget, action or menu of a window by its design name ("CmbStart", "LblNumero(5)", "SM_Auto").
template<typename T = QWidget> T *named(const QObject &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        qWarning("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return found;
}

struct Rig
{
    // dataFolder: another copy's data folder, for a second copy of the program on the same desktop.
    // programFolder: the program's folder, the build's by default.
    explicit Rig(ScreenInfo screen = ScreenInfo::fromPixels(1024, 768, 15), bool load = true,
                 const QString &dataFolder = {}, const QString &programFolder = {})
    {
        static const ApplicationSetup
            setup; // Qt's buttons in Spanish and the design's faces, as main() has them
        fake.screen.info = screen;
        if (!dataFolder.isEmpty())
            fake.platform.dataFolder = dataFolder;
        if (!programFolder.isEmpty())
            fake.platform.programFolder = programFolder;
        program = std::make_unique<Cantabola>(fake.platform);
        if (load)
            loaded = program->start();
    }

    FrmBingo &window() const { return program->window(); }
    Game &game() const { return program->game(); }
    template<typename T = QWidget> T *find(const QString &name) const { return named<T>(window(), name); }
    QAction *action(const QString &name) const { return find<QAction>(name); }
    QMenu *menu(const QString &name) const { return find<QMenu>(name); }
    QLabel *boardLabel(int n) const { return find<QLabel>(QStringLiteral("LblNumero(%1)").arg(n)); }
    QString bigNumber() const { return find<QLabel>(QStringLiteral("LblNumEnJuego"))->text(); }
    QPushButton *start() const { return find<QPushButton>(QStringLiteral("CmbStart")); }
    void clickStart() const { QTest::mouseClick(start(), Qt::LeftButton); }
    void click(const QString &button) const { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    void trigger(const QString &actionName) const { action(actionName)->trigger(); }
    // The players' board served as the operator ticks it, on the loopback address and a port free now, which
    // it keeps when served again; the port.
    quint16 serveBoard() const
    {
        program->board().listenOnLoopbackOnly();
        program->board().setPorts(0, 0); // any free port
        trigger(QStringLiteral("networkBoardItem"));
        const auto port = static_cast<quint16>(QUrl(program->board().address()).port());
        program->board().setPorts(port, port);
        return port;
    }

    // The large number, the count and the board agree with the game: a number is red exactly when its
    // ball is out, and the large label shows the last ball.
    bool boardAgreesWithGame() const
    {
        const Game &g = game();
        if (bigNumber() != (g.NumEnJuego() ? QString::number(g.NumEnJuego()) : QString()))
            return false;
        for (int n = 1; n <= 90; ++n) {
            const std::uint32_t expected = g.BolaSacada(n) ? Board::colourDrawn : Board::colourNotDrawn;
            if (foreColour(boardLabel(n)) != expected)
                return false;
        }
        return true;
    }

    // The menus and buttons that automatic calling takes away, all usable (true) or all not (false).
    bool callingControls(bool usable) const
    {
        return menu(QStringLiteral("M_Play"))->menuAction()->isEnabled() == usable
            && menu(QStringLiteral("M_Options"))->menuAction()->isEnabled() == usable
            && find(QStringLiteral("CmbNuevo"))->isEnabled() == usable
            && find(QStringLiteral("CmbImprimir"))->isEnabled() == usable;
    }

    FakePlatform fake;
    std::unique_ptr<Cantabola> program;
    bool loaded = false;
};

// Runs open(), which shows a modal window (exec), and runs look on that window while it is open when its
// design name is name; closes it afterwards if it is still open. Returns how many times look ran.
int whileModal(const QString &name, const std::function<void()> &open,
               const std::function<void(QDialog &)> &look);

// The 32 recorded words and the signal, as they lie in the program's folder.
QStringList soundFileNames();

// The pages of a PDF rendered by pdftoppm at the given resolution; empty when it cannot be rendered.
QList<QImage> renderPdf(const QString &pdf, int dpi = 50);

} // namespace cantabola::testing
