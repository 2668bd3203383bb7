#pragma once

// The real implementations of the platform seams, as the program uses them.

#include "Seams.h"

#include <QPointer>
#include <random>

namespace cantabola {

class HelpWindow;

class QtScreen : public Screen
{
public:
    ScreenInfo metrics() const override;
};

class SystemClock : public Clock
{
public:
    double secondsSinceMidnight() const override;
};

// Waits in a nested event loop quit by a precise timer, measured on a monotonic clock: no processor time is
// burnt, midnight cannot disturb it, and a click during the wait runs its handler inside it.
class EventLoopWaiter : public Waiter
{
public:
    void waitDispatching(double seconds) override;
};

class SystemRandom : public Random
{
public:
    void reseed(double secondsSinceMidnight) override;
    double next() override;

private:
    std::mt19937_64 m_engine {0};
};

class QtMessageBoxes : public MessageBoxes
{
public:
    MessageAnswer show(QWidget *parent, const Message &message) override;
};

class ImmediateExit : public ProcessEnder
{
public:
    void endProcess() override;
};

class QtColourDialog : public ColourDialog
{
public:
    std::optional<QColor> chooseColour(QWidget *parent) override;
};

class QtPrintDialog : public PrintDialog
{
public:
    std::unique_ptr<QPrinter> choosePrinter(QWidget *parent) override;
};

class DesktopBrowser : public Browser
{
public:
    void open(const QUrl &url, int showMode) override;
};

// Opens the help in a window of the program's own, not modal, reused from one request to the next.
class HelpWindowViewer : public HelpViewer
{
public:
    ~HelpWindowViewer() override;
    void showContents(const QString &helpFilePath) override;

private:
    QPointer<HelpWindow> m_window;
};

// The folder the executable lies in.
QString executableFolder();

} // namespace cantabola
