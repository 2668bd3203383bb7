// A long seeded run of everything an operator can do on the main window, in random order: buttons, menu
// commands, Ctrl+N, the delay bar, the switches, the card and about windows (their dialogs answered by
// fakes), banner ticks and clicks, also nested inside the waits of a draw. After every action the board must
// agree with the drum and the controls with the run state.
//
// A failing seed reproduces with:  CANTABOLA_MONKEY_SEED=<seed> tests/app/test_app_monkey

#include "AniGif.h"
#include "Cantabola.h"
#include "Colour.h"
#include "FakePlatform.h"
#include "FrmAbout.h"
#include "FrmBingo.h"
#include "FrmCartones.h"
#include "Partida.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <random>

using namespace cantabola;
using cantabola::testing::FakePlatform;

namespace {

std::uint64_t environmentNumber(const char *name, std::uint64_t fallback)
{
    const QByteArray value = qgetenv(name);
    bool ok = false;
    const std::uint64_t number = value.toULongLong(&ok);
    return ok ? number : fallback;
}

class Monkey
{
public:
    Monkey(std::uint64_t seed, int actions)
        : m_rng(seed)
        , m_target(actions)
    {
        m_fake.random.seedOffset = seed;
        m_fake.printing.pdfPath = m_pdfFolder.filePath(QStringLiteral("sheet.pdf"));
        m_fake.waiter.during = [this](double, int) {
            duringWait();
        };
        m_program = std::make_unique<Cantabola>(m_fake.platform);
        m_program->start();
    }

    // Returns an empty string, or what went wrong and after which action.
    QString run()
    {
        while (m_performed < m_target && m_failure.isEmpty()) {
            act();
            check(true);
        }
        return m_failure;
    }

    int performed() const { return m_performed; }
    int maxDepth() const { return m_maxDepth; }
    int ballsDrawn() const { return m_ballsDrawn; }

private:
    FrmBingo &w() { return m_program->window(); }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool chance(int percent) { return pick(100) < percent; }

    static bool menuUsable(const QMenu *menu, const QAction *item)
    {
        return FrmBingo::menuEnabled(menu) && item->isEnabled();
    }

    void duringWait()
    {
        if (!m_failure.isEmpty() || m_performed >= m_target) {
            // Wind down: stop any calling so the run returns.
            if (w().CmbStart->text() == Partida::captionStop)
                w().CmbStart->click();
            return;
        }
        check(false);
        if (m_depth < 3 && chance(35)) {
            ++m_depth;
            m_maxDepth = std::max(m_maxDepth, m_depth);
            act();
            check(false);
            --m_depth;
        } else if (w().CmbStart->text() == Partida::captionStop && chance(3)) {
            w().CmbStart->click(); // an operator stops the calling now and then
        }
    }

    void act()
    {
        ++m_performed;
        const int before = w().BolasSacadas;
        const int choice = pick(17);
        if (qEnvironmentVariableIsSet("CANTABOLA_MONKEY_TRACE"))
            qInfo("action %d: %d at depth %d", m_performed, choice, m_depth);
        switch (choice) {
        case 0:
        case 1:
        case 2:
            if (w().CmbStart->isEnabled())
                QTest::mouseClick(w().CmbStart, Qt::LeftButton);
            break;
        case 3:
            if (w().CmbNuevo->isEnabled())
                QTest::mouseClick(w().CmbNuevo, Qt::LeftButton);
            break;
        case 4:
            if (menuUsable(w().M_Play, w().SM_New))
                w().SM_New->trigger();
            break;
        case 5:
            if (menuUsable(w().M_Play, w().SM_GetNumber))
                w().SM_GetNumber->trigger();
            break;
        case 6:
            if (FrmBingo::menuEnabled(w().M_Play))
                QTest::keyClick(&w(), Qt::Key_N, Qt::ControlModifier);
            break;
        case 7:
            if (menuUsable(w().M_Options, w().SM_Auto))
                w().SM_Auto->trigger();
            break;
        case 8:
            if (menuUsable(w().M_Options, w().SM_Voice))
                w().SM_Voice->trigger();
            break;
        case 9: {
            QScrollBar *bar = w().HscInterval;
            bar->setValue(bar->minimum() + pick(bar->maximum() - bar->minimum() + 1));
            break;
        }
        case 10:
            QMetaObject::invokeMethod(w().Timer1, "timeout"); // a minute has passed
            break;
        case 11:
            QTest::mouseClick(w().AniGIF1, Qt::LeftButton);
            break;
        case 12:
            if (menuUsable(w().SM_Help, w().SM_play))
                w().SM_play->trigger();
            break;
        case 13:
            if (menuUsable(w().SM_Help, w().SM_AcercaDe)) {
                QTimer::singleShot(0, [this] { aboutWindowActions(); });
                w().SM_AcercaDe->trigger();
            }
            break;
        case 14:
            if (w().CmbImprimir->isEnabled()) {
                QTimer::singleShot(0, [this] { cardWindowActions(); });
                QTest::mouseClick(w().CmbImprimir, Qt::LeftButton);
            }
            break;
        case 15: {
            const auto n = static_cast<std::size_t>(1 + pick(4));
            if (menuUsable(w().M_Play, w().SM_Cards[n])) {
                QTimer::singleShot(0, [this] { cardWindowActions(); });
                w().SM_Cards[n]->trigger();
            }
            break;
        }
        case 16:
            if (chance(5) && menuUsable(w().M_Play, w().SM_End)) {
                const int ended = m_fake.process.ended;
                w().SM_End->trigger();
                if (m_fake.process.ended != ended + 1)
                    fail(QStringLiteral("\"Salir\" did not end the program"));
                w().show(); // a real process is gone; the fake one carries on as if started again
            }
            break;
        }
        m_ballsDrawn += std::max(0, w().BolasSacadas - before);
    }

    void aboutWindowActions()
    {
        auto *about = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
        if (!about) {
            fail(QStringLiteral("\"Acerca de ...\" showed no about window"));
            return;
        }
        if (chance(50))
            QTest::mouseClick(about->Label1, Qt::LeftButton);
        QTest::keyClick(about, chance(50) ? Qt::Key_Escape : Qt::Key_Return);
    }

    void cardWindowActions()
    {
        auto *cards = qobject_cast<FrmCartones *>(QApplication::activeModalWidget());
        if (!cards) {
            qWarning() << "modal" << QApplication::activeModalWidget();
            for (QWidget *top : QApplication::topLevelWidgets())
                qWarning() << top << top->isVisible() << top->isModal();
            fail(QStringLiteral("the card window did not open"));
            return;
        }
        if (w().isEnabled() && w().CmbStart->isEnabled() && QApplication::activeModalWidget() != cards)
            fail(QStringLiteral("the main window takes input while the card window is open"));
        for (int i = pick(4); i > 0; --i) {
            switch (pick(4)) {
            case 0:
                QTest::mouseClick(cards->CmbGenerar, Qt::LeftButton);
                break;
            case 1:
                if (chance(50))
                    m_fake.colours.answer = QColor::fromRgb(static_cast<QRgb>(m_rng() & 0xFFFFFFU));
                else
                    m_fake.colours.answer.reset();
                QTest::mouseClick(cards->CmbElegirColor, Qt::LeftButton);
                break;
            case 2:
                QTest::mouseClick(cards->LblCasilla[static_cast<std::size_t>(1 + pick(27))], Qt::LeftButton);
                break;
            case 3:
                m_fake.printing.cancel = !chance(3);
                QTest::mouseClick(cards->CmbPrint, Qt::LeftButton);
                if (!cards->isVisible())
                    return; // printed: the window closed itself
                break;
            }
        }
        cards->close();
    }

    void fail(const QString &what)
    {
        if (m_failure.isEmpty())
            m_failure = QStringLiteral("action %1 (depth %2): %3").arg(m_performed).arg(m_depth).arg(what);
    }

    void check(bool topLevel)
    {
        FrmBingo &win = w();
        int flags = 0;
        for (std::size_t n = 1; n <= 90; ++n) {
            flags += win.BolaSacada[n] ? 1 : 0;
            const std::uint32_t expected
                = win.BolaSacada[n] ? FrmBingo::colourDrawn : FrmBingo::colourNotDrawn;
            if (foreColour(win.LblNumero[n]) != expected)
                return fail(QStringLiteral("board number %1 has the wrong colour").arg(n));
        }
        if (win.BolasSacadas != flags || win.BolasSacadas > 90)
            return fail(QStringLiteral("%1 balls counted, %2 flagged").arg(win.BolasSacadas).arg(flags));
        const QString shown = win.LblNumEnJuego->text();
        if (!shown.isEmpty()
            && (shown != QString::number(win.NumEnJuego)
                || !win.BolaSacada[static_cast<std::size_t>(win.NumEnJuego)]))
            return fail(QStringLiteral("the large number shows %1, the last ball was %2")
                            .arg(shown)
                            .arg(win.NumEnJuego));

        const bool calling = win.CmbStart->text() == Partida::captionStop;
        const bool othersEnabled = FrmBingo::menuEnabled(win.M_Play) && FrmBingo::menuEnabled(win.M_Options)
            && win.CmbNuevo->isEnabled() && win.CmbImprimir->isEnabled();
        const bool othersDisabled = !FrmBingo::menuEnabled(win.M_Play)
            && !FrmBingo::menuEnabled(win.M_Options) && !win.CmbNuevo->isEnabled()
            && !win.CmbImprimir->isEnabled();
        if (calling && (!othersDisabled || !win.CmbStart->isEnabled()))
            return fail(QStringLiteral("calling, but the controls are not as they should be"));
        if (!calling && !othersEnabled)
            return fail(QStringLiteral("not calling, but commands are greyed"));
        if (!calling && win.CmbStart->text() != Partida::captionStart)
            return fail(QStringLiteral("the start button reads \"%1\"").arg(win.CmbStart->text()));
        if (topLevel && !win.CmbStart->isEnabled())
            return fail(QStringLiteral("idle, but \"Sacar número\" is greyed"));
        if (!FrmBingo::menuEnabled(win.SM_Help) || !win.HscInterval->isEnabled())
            return fail(QStringLiteral("the help menu or the delay bar was greyed"));
    }

    std::mt19937_64 m_rng;
    int m_target;
    QTemporaryDir m_pdfFolder;
    FakePlatform m_fake;
    std::unique_ptr<Cantabola> m_program;
    int m_performed = 0;
    int m_depth = 0;
    int m_maxDepth = 0;
    int m_ballsDrawn = 0;
    QString m_failure;
};

} // namespace

class MonkeyTest : public QObject
{
    Q_OBJECT

private slots:
    void operatorActionsKeepBoardAndControlsConsistent()
    {
        const std::uint64_t seed = environmentNumber("CANTABOLA_MONKEY_SEED", 20261206);
        const int actions = static_cast<int>(environmentNumber("CANTABOLA_MONKEY_ACTIONS", 20000));
        // The run is repeated exactly, in the build folder (build, or build-sanitize), by the command
        // printed.
        qInfo("monkey seed %llu, %d actions; repeat with: CANTABOLA_MONKEY_SEED=%llu ctest -R "
              "test_app_monkey -V",
              static_cast<unsigned long long>(seed), actions, static_cast<unsigned long long>(seed));
        Monkey monkey(seed, actions);
        const QString failure = monkey.run();
        qInfo("monkey survived %d actions, %d balls drawn, nested %d deep", monkey.performed(),
              monkey.ballsDrawn(), monkey.maxDepth());
        QVERIFY2(failure.isEmpty(), qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(failure)));
    }
};

QTEST_MAIN(MonkeyTest)
#include "MonkeyTest.moc"
