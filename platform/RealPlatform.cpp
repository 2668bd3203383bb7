#include "RealPlatform.h"

#include "HelpWindow.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTime>
#include <QTimer>
#include <bit>
#include <cstdio>
#include <cstdlib>

namespace cantabola {

ScreenInfo QtScreen::metrics() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return ScreenInfo::fromPixels(800, 600, 15);
    const auto dpiX = static_cast<float>(screen->logicalDotsPerInchX());
    const auto dpiY = static_cast<float>(screen->logicalDotsPerInchY());
    ScreenInfo info;
    info.twipsPerPixelX = dpiX > 0 ? 1440.0F / dpiX : 15.0F;
    info.twipsPerPixelY = dpiY > 0 ? 1440.0F / dpiY : 15.0F;
    info.widthTwips = static_cast<float>(screen->geometry().width()) * info.twipsPerPixelX;
    info.heightTwips = static_cast<float>(screen->geometry().height()) * info.twipsPerPixelY;
    return info;
}

double SystemClock::secondsSinceMidnight() const
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void EventLoopWaiter::waitDispatching(double seconds)
{
    if (!(seconds > 0))
        return;
    QElapsedTimer elapsed;
    elapsed.start();
    const auto total = static_cast<qint64>(seconds * 1e9);
    // A timer may fire a little early; loop until the monotonic clock agrees the time has passed. Linux lets
    // a poll oversleep by 0.1 % of its timeout (2 ms on a 2-second wait), so a long wait first sleeps until
    // shortly before its end and finishes with a short timer, which oversleeps by microseconds only.
    for (qint64 left = total; left > 0; left = total - elapsed.nsecsElapsed()) {
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        qint64 ms = std::max<qint64>(1, (left + 999'999) / 1'000'000);
        if (ms > 20)
            ms -= ms / 1000 + 2;
        timer.start(static_cast<int>(ms));
        loop.exec();
    }
}

void SystemRandom::reseed(double secondsSinceMidnight)
{
    // Seeded from the time of day as a single-precision number of seconds, as the draw always was.
    const auto seconds = static_cast<float>(secondsSinceMidnight);
    m_engine.seed(std::bit_cast<std::uint32_t>(seconds) * 0x9E3779B97F4A7C15ULL + 0x2545F4914F6CDD1DULL);
}

double SystemRandom::next()
{
    return static_cast<double>(m_engine() >> 11U) * 0x1.0p-53;
}

MessageAnswer QtMessageBoxes::show(QWidget *parent, const Message &message)
{
    QMessageBox box(parent);
    box.setWindowTitle(message.title);
    box.setText(message.text);
    switch (message.icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    if (message.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

void ImmediateExit::endProcess()
{
    std::fflush(nullptr);
    std::_Exit(0);
}

std::optional<QColor> QtColourDialog::chooseColour(QWidget *parent)
{
    // Qt's colour dialog always shows its custom-colour section; it starts from white, not from the card.
    QColorDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.currentColor();
}

std::unique_ptr<QPrinter> QtPrintDialog::choosePrinter(QWidget *parent)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return printer;
}

void DesktopBrowser::open(const QUrl &url, int /*showMode*/)
{
    // The desktop's URL handler starts the browser on its own; we neither wait nor look at the result.
    QDesktopServices::openUrl(url);
}

HelpWindowViewer::~HelpWindowViewer()
{
    delete m_window.data();
}

void HelpWindowViewer::showContents(const QString &helpFilePath)
{
    if (!m_window)
        m_window = new HelpWindow();
    m_window->showContents(helpFilePath);
}

QString executableFolder()
{
    return QCoreApplication::applicationDirPath();
}

} // namespace cantabola
