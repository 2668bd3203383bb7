// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Recording fakes of every platform seam, so tests drive the real windows without a person, a screen of a
// given size, a sound card, a printer or a browser.

#include "platform/WindowSeams.h"

#include <QPrinter>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <random>
#include <utility>
#include <vector>

namespace cantabola::testing {

struct FakeScreen : Screen
{
    ScreenInfo info = ScreenInfo::fromPixels(1024, 768, 15);
    ScreenInfo metrics() const override { return info; }
};

struct FakeClock : Clock
{
    double now = 12 * 3600.0;
    double secondsSinceMidnight() const override { return now; }
    QDateTime dateTime() const override
    {
        return QDateTime(QDate(2026, 12, 7), QTime(0, 0)).addMSecs(qint64(now * 1000));
    }
};

// Waits no real time: each wait advances the fake clock, serves pending events once, and runs the test's
// hook, which may click buttons "during" the wait exactly as an operator would.
struct FakeWaiter : Waiter
{
    void waitDispatching(double seconds) override;
    FakeClock *clock = nullptr;
    std::vector<double> waits;
    std::function<void(double seconds, int index)> during;
};

// A seeded generator that records each reseed; scripted values are handed out first, in order.
struct FakeRandom : Random
{
    void reseed(double seconds) override
    {
        reseeds.push_back(seconds);
        engine.seed(static_cast<std::uint64_t>(seconds * 1000.0) + seedOffset);
    }
    double next() override
    {
        if (scripted.empty())
            return std::uniform_real_distribution<double>(0.0, 1.0)(engine);
        const double value = scripted.front();
        scripted.erase(scripted.begin());
        return value;
    }
    std::mt19937_64 engine{12345};
    std::uint64_t seedOffset = 0;
    std::vector<double> scripted;
    std::vector<double> reseeds;
};

struct FakeMessageBoxes : MessageBoxes
{
    MessageAnswer show(QWidget * /*parent*/, const Message &message) override
    {
        shown.push_back(message);
        if (onShow)
            onShow(message);
        return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : answer;
    }
    std::vector<Message> shown;
    MessageAnswer answer = MessageAnswer::Yes;
    std::function<void(const Message &)> onShow;
};

struct FakeProcessEnder : ProcessEnder
{
    void endProcess() override { ++ended; }
    int ended = 0;
};

struct FakeSound : Sound
{
    void play(const QString &fileName, PlayMode mode) override
    {
        played.emplace_back(fileName, mode);
        if (onPlay)
            onPlay(fileName, mode);
    }
    QStringList files() const
    {
        QStringList names;
        for (const auto &entry : played)
            names << entry.first;
        return names;
    }
    std::vector<std::pair<QString, PlayMode>> played;
    std::function<void(const QString &, PlayMode)> onPlay;
};

struct FakeColourDialog : ColourDialog
{
    std::optional<QColor> chooseColour(QWidget * /*parent*/) override { return ++opened, answer; }
    std::optional<QColor> answer; // nullopt: the operator cancels
    int opened = 0;
};

// Answers the print dialog with a PDF printer writing to pdfPath, with Cancel (cancel = true), or with a
// printer that cannot start (an unwritable path).
struct FakePrintDialog : PrintDialog
{
    std::unique_ptr<QPrinter> choosePrinter(QWidget * /*parent*/) override
    {
        ++opened;
        if (cancel)
            return nullptr;
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfPath);
        return printer;
    }
    QString pdfPath;
    bool cancel = false;
    int opened = 0;
};

struct FakeBrowser : Browser
{
    void open(const QUrl &url, int showMode) override { opened.emplace_back(url, showMode); }
    std::vector<std::pair<QUrl, int>> opened;
};

struct FakeHelpViewer : HelpViewer
{
    void showContents(const QString &path) override { shown << path; }
    QStringList shown;
};

// Answers the save dialog with path (empty: the operator cancels).
struct FakeFileDialog : FileDialog
{
    QString saveFileName(QWidget *, const QString &, const QString &) override { return path; }
    QString path;
};

// All fakes together, and the Platform bundle over them; the data folder is a fresh one of its own.
struct FakePlatform
{
    FakePlatform();

    FakeScreen screen;
    FakeClock clock;
    FakeWaiter waiter;
    FakeRandom random;
    FakeMessageBoxes messages;
    FakeProcessEnder process;
    FakeSound sound;
    FakeColourDialog colours;
    FakePrintDialog printing;
    FakeBrowser browser;
    FakeHelpViewer help;
    FakeFileDialog files;
    QTemporaryDir dataFolder;
    Platform platform;
};

} // namespace cantabola::testing
