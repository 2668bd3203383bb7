#pragma once

// The main window with the card window installed on it, over fake platform parts, and a way to look at the
// card window while its modal opening runs.

#include "CardMenu.h"
#include "FakePlatform.h"
#include "FrmBingo.h"
#include "FrmCartones.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace cantabola::testing {

struct CardProgram
{
    explicit CardProgram(ScreenInfo screenInfo = ScreenInfo::fromPixels(1024, 768, 15))
    {
        fake.screen.info = screenInfo;
        main = std::make_unique<FrmBingo>(fake.platform, scale);
        main->Load();
        installCardWindow(*main);
    }

    FrmCartones *cardWindow() const { return main->findChild<FrmCartones *>(); }

    // Starts an opening (a menu item, the main window's button) and runs `look` once the card window is up
    // and modal; closes the window afterwards unless it closed itself. Returns how many times `look` ran.
    int whileOpen(const std::function<void()> &open, const std::function<void(FrmCartones &)> &look)
    {
        int looked = 0;
        QTimer::singleShot(0, [&] {
            auto *window = qobject_cast<FrmCartones *>(QApplication::activeModalWidget());
            if (!window)
                return;
            ++looked;
            look(*window);
            if (window->isVisible())
                window->close();
        });
        open();
        QCoreApplication::processEvents(); // a timer left over when nothing opened
        return looked;
    }

    int chooseCards(int n, const std::function<void(FrmCartones &)> &look)
    {
        return whileOpen([&] { main->SM_Cards.at(static_cast<std::size_t>(n))->trigger(); }, look);
    }
    int clickImprimirCartones(const std::function<void(FrmCartones &)> &look)
    {
        return whileOpen([&] { QTest::mouseClick(main->CmbImprimir, Qt::LeftButton); }, look);
    }

    FakePlatform fake;
    ScaleValues scale;
    std::unique_ptr<FrmBingo> main;
};

} // namespace cantabola::testing
