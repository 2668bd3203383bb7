// SPDX-License-Identifier: GPL-3.0-or-later
// The floor under the program's start-up: a window as large as the yardstick's that paints only the text the
// main window opens with, in the same faces and sizes (those the program gives them on the benchmark's
// 1920 x 1080 screen): the four menu titles, the three buttons' captions, the delay and the board's ninety
// numbers, all drawn by one widget, with no control, frame or picture around them. Like the program it reads
// the font configuration on a thread of its own while the display is opened. Whatever the program does
// beyond this comes on top of it, so this window's ratio to the minimal one is the least the program's can
// be.

#include "bench/Probe.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <fontconfig/fontconfig.h>
#include <thread>

namespace {

QFont face(int pixels, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

class TextOnly : public QWidget
{
protected:
    void paintEvent(QPaintEvent * /*event*/) override
    {
        QPainter painter(this);
        painter.setFont(QApplication::font());
        int x = 8;
        for (const QString &title : {QStringLiteral("Juego"), QStringLiteral("Opciones"),
                                     QStringLiteral("Partida"), QStringLiteral("Ayuda")}) {
            painter.drawText(x, 14, title);
            x += 80;
        }
        painter.setFont(face(38, true));
        painter.drawText(1100, 760, QStringLiteral("Sacar número"));
        painter.setFont(face(26, false));
        painter.drawText(1100, 930, QStringLiteral("Imprimir cartones"));
        painter.drawText(1420, 930, QStringLiteral("Nueva partida"));
        painter.setFont(face(31, true));
        painter.drawText(1392, 870, QStringLiteral("3"));
        painter.setFont(face(58, true));
        for (int n = 1; n <= 90; ++n)
            painter.drawText(40 + (n - 1) % 10 * 96, 95 + (n - 1) / 10 * 72, QString::number(n));
    }
};

} // namespace

int main(int argc, char **argv)
{
    std::thread fontSystem([] { FcInit(); });
    bench::ProbedApplication application(argc, argv);
    fontSystem.join();
    TextOnly window;
    window.setWindowTitle(QStringLiteral("Text only"));
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    bench::reportStartup(application, [&window] { return &window; });
    window.show();
    return QApplication::exec();
}
