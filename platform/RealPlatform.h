// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The real implementations of the platform seams, as the program uses them, and the one place that puts them
// together.

#include "platform/SystemSeams.h"
#include "platform/WindowSeams.h"
#include "voice/DeferredSound.h"

#include <QPointer>

namespace cantabola {

class HelpWindow;

class QtScreen : public Screen
{
public:
    ScreenInfo metrics() const override;
};

class QtMessageBoxes : public MessageBoxes
{
public:
    MessageAnswer show(QWidget *parent, const Message &message) override;
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

class QtFileDialog : public FileDialog
{
public:
    QString saveFileName(QWidget *parent, const QString &title, const QString &suggestedName) override;
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

// Every real seam, built once for the run: main(), the start-up benchmark and the tests that start the real
// program all take the platform from here. The sound library is not loaded yet (see DeferredSound::load).
class RealPlatform
{
public:
    // programFolder: where the runtime files and the sound library lie; the executable's folder by default.
    // The data folder is the platform's standard one for the application's data.
    explicit RealPlatform(const QString &programFolder = executableFolder());
    RealPlatform(const RealPlatform &) = delete;
    RealPlatform &operator=(const RealPlatform &) = delete;

    Platform &platform() { return m_platform; }
    DeferredSound &sound() { return m_sound; }

private:
    QtScreen m_screen;
    SystemClock m_clock;
    EventLoopWaiter m_waiter;
    SystemRandom m_random;
    QtMessageBoxes m_messages;
    ImmediateExit m_process;
    DeferredSound m_sound;
    QtColourDialog m_colours;
    QtPrintDialog m_printing;
    DesktopBrowser m_browser;
    HelpWindowViewer m_help;
    QtFileDialog m_files;
    Platform m_platform;
};

} // namespace cantabola
