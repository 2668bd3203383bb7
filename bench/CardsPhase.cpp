// The card window with four cards: from the menu item to the window painted, and "Generar Cartones" with its
// repaint of every number cell. The yardstick is a bare dialog of the same size with as many labels in four
// frames, opened and refilled the same way.

#include "Fonts.h"
#include "FrmBingo.h"
#include "FrmCartones.h"
#include "Support.h"

#include <QAction>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <random>

namespace bench {

namespace {

void paintBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

class BareCards : public QDialog
{
public:
    BareCards(QWidget *parent, QSize size)
        : QDialog(parent)
    {
        setWindowTitle(QStringLiteral("Yardstick"));
        resize(size);
        const int frameWidth = size.width() / 2 - 8;
        const int frameHeight = size.height() * 2 / 5;
        QFont cellFont = cantabola::designFont(QStringLiteral("Impact"), 24);
        for (int card = 0; card < 4; ++card) {
            auto *frame = new QFrame(this);
            frame->setGeometry((card % 2) * (frameWidth + 8), 24 + (card / 2) * (frameHeight + 8), frameWidth,
                               frameHeight);
            paintBackground(frame, QColor(0x4f, 0x6f, 0x82));
            for (int k = 0; k < 27; ++k) {
                auto *cell = new QLabel(frame);
                cell->setFont(cellFont);
                cell->setAlignment(Qt::AlignCenter);
                paintBackground(cell, Qt::white);
                const int column = k / 3;
                const int row = k % 3;
                cell->setGeometry(8 + column * frameWidth / 9, 8 + row * frameHeight / 3, frameWidth / 9 - 4,
                                  frameHeight / 3 - 8);
                m_cells.push_back(cell);
            }
        }
        generate = new QPushButton(QStringLiteral("Generar Cartones"), this);
        generate->setGeometry(size.width() - 160, size.height() - 40, 150, 32);
        connect(generate, &QPushButton::clicked, this, [this] {
            // Fifteen numbers a card, each written and repainted on the spot.
            for (std::size_t i = 0; i < m_cells.size(); ++i) {
                if (i % 9 < 5) {
                    m_cells[i]->setText(QString::number(m_random() % 90 + 1));
                    m_cells[i]->repaint();
                }
            }
        });
    }

    QPushButton *generate = nullptr;

private:
    std::vector<QLabel *> m_cells;
    std::mt19937 m_random{7};
};

} // namespace

int runCardsPhase(int argc, char **argv, const Options &options)
{
    ProbedApplication application(argc, argv);
    RunningProgram running(options);
    if (!running.started)
        return 2;
    cantabola::FrmBingo &w = running.program.window();

    // The first paint of a window is over when the window-system event that caused it has been handled.
    QWidget *watched = nullptr;
    bool sawPaint = false;
    double openedAt = -1;
    std::function<void()> onOpened;
    application.afterPaint = [&](QWidget *widget, double) {
        QWidget *window = widget->window();
        if (watched ? window == watched : qobject_cast<cantabola::FrmCartones *>(window) != nullptr) {
            watched = window;
            sawPaint = true;
        }
    };
    application.afterEvent = [&](const QObject *receiver, QEvent::Type, double ms) {
        if (sawPaint && openedAt < 0 && watched
            && receiver == static_cast<const QObject *>(watched->windowHandle())) {
            openedAt = ms;
            if (onOpened)
                QTimer::singleShot(50, &w, onOpened);
        }
    };
    const auto watch = [&](QWidget *window) {
        watched = window;
        sawPaint = false;
        openedAt = -1;
    };

    const int openings = options.quick ? 3 : 10;
    const int generations = options.quick ? 3 : 5;
    std::vector<double> openMs;
    std::vector<double> generateMs;
    std::vector<double> bareOpenMs;
    std::vector<double> bareGenerateMs;
    const auto timeClicks = [generations](QPushButton *button, std::vector<double> &into) {
        for (int i = 0; i < generations; ++i) {
            const double started = nowMs();
            QTest::mouseClick(button, Qt::LeftButton);
            into.push_back(nowMs() - started);
        }
    };

    // The yardstick, built and shown afresh each time as the card window is.
    const auto openBare = [&] {
        onOpened = nullptr;
        const double started = nowMs();
        BareCards bare(&w, w.size());
        watch(&bare);
        bare.show();
        if (pumpUntil([&] { return openedAt >= 0; }, 5000))
            bareOpenMs.push_back(openedAt - started);
        pump(50);
        timeClicks(bare.generate, bareGenerateMs);
        bare.hide();
    };
    // The card window from its menu item; the item's handler returns when the window is closed.
    const auto openCards = [&] {
        watch(nullptr);
        onOpened = [&] {
            auto *cards = qobject_cast<cantabola::FrmCartones *>(watched);
            if (!cards)
                return;
            timeClicks(cards->CmbGenerar, generateMs);
            cards->reject();
        };
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &w, [] {
            if (auto *open = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                open->reject(); // never seen painted: do not hang
        });
        guard.start(10000);
        const double started = nowMs();
        w.SM_Cards.at(4)->trigger();
        guard.stop();
        if (openedAt >= 0)
            openMs.push_back(openedAt - started);
    };

    // The two take turns at going first; the card window goes first of all, paying for what both share the
    // first time (the cells' font above all).
    for (int opening = 0; opening < openings; ++opening) {
        progress(QStringLiteral("cards: opening %1 of %2").arg(opening + 1).arg(openings));
        if (opening % 2 == 0) {
            openCards();
            pump(50);
            openBare();
        } else {
            openBare();
            pump(50);
            openCards();
        }
        pump(50);
    }

    // The first opening builds what later ones reuse (the window itself, the font); it is told apart.
    if (!openMs.empty())
        result(QStringLiteral("cards.open.ours.first"), openMs.front());
    if (!bareOpenMs.empty())
        result(QStringLiteral("cards.open.bare.first"), bareOpenMs.front());
    resultStats(QStringLiteral("cards.open.ours"), openMs);
    resultStats(QStringLiteral("cards.open.bare"), bareOpenMs);
    resultStats(QStringLiteral("cards.generate.ours"), generateMs);
    resultStats(QStringLiteral("cards.generate.bare"), bareGenerateMs);
    return 0;
}

} // namespace bench
