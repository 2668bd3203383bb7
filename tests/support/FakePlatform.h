#pragma once

// Recording fakes of every platform seam, so tests drive the real windows without a person, a screen of a
// given size, a sound card, a printer or a browser.

#include "WindowSeams.h"

#include <QPrinter>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <random>
#include <utility>
#include <vector>

namespace cantabola::testing {

class FakeScreen : public Screen
{
public:
    ScreenInfo info = ScreenInfo::fromPixels(1024, 768, 15);
    ScreenInfo metrics() const override { return info; }
};

class FakeClock : public Clock
{
public:
    double now = 12 * 3600.0;
    double secondsSinceMidnight() const override { return now; }
    QDateTime dateTime() const override { return QDateTime(QDate(2026, 12, 7), QTime(0, 0)).addMSecs(qint64(now * 1000)); }
};

// Waits no real time: each wait advances the fake clock, serves pending events once, and runs the test's
// hook, which may click buttons "during" the wait exactly as an operator would.
class FakeWaiter : public Waiter
{
public:
    void waitDispatching(double seconds) override;

    FakeClock *clock = nullptr;
    std::vector<double> waits;
    std::function<void(double seconds, int index)> during;
};

// A seeded generator that records each reseed; tests fix the seed the program would take from the clock.
class FakeRandom : public Random
{
public:
    void reseed(double seconds) override
    {
        reseeds.push_back(seconds);
        if (!fixedSequence)
            engine.seed(static_cast<std::uint64_t>(seconds * 1000.0) + seedOffset);
    }
    double next() override
    {
        if (!scripted.empty()) {
            const double value = scripted.front();
            scripted.erase(scripted.begin());
            return value;
        }
        return std::uniform_real_distribution<double>(0.0, 1.0)(engine);
    }

    std::mt19937_64 engine {12345};
    std::uint64_t seedOffset = 0;
    bool fixedSequence = false; // keep one stream across reseeds
    std::vector<double> scripted; // values handed out first, in order
    std::vector<double> reseeds;
};

class FakeMessageBoxes : public MessageBoxes
{
public:
    MessageAnswer show(QWidget * /*parent*/, const Message &message) override
    {
        shown.push_back(message);
        if (onShow)
            onShow(message);
        if (message.buttons == MessageButtons::Ok)
            return MessageAnswer::Ok;
        return answer;
    }

    std::vector<Message> shown;
    MessageAnswer answer = MessageAnswer::Yes;
    std::function<void(const Message &)> onShow;
};

class FakeProcessEnder : public ProcessEnder
{
public:
    void endProcess() override { ++ended; }
    int ended = 0;
};

class FakeSound : public Sound
{
public:
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

class FakeColourDialog : public ColourDialog
{
public:
    std::optional<QColor> chooseColour(QWidget * /*parent*/) override
    {
        ++opened;
        return answer;
    }
    std::optional<QColor> answer; // nullopt: the operator cancels
    int opened = 0;
};

// Answers the print dialog with a PDF printer writing to pdfPath, with Cancel (cancel = true), or with a
// printer that cannot start (an unwritable path).
class FakePrintDialog : public PrintDialog
{
public:
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

class FakeBrowser : public Browser
{
public:
    void open(const QUrl &url, int showMode) override { opened.emplace_back(url, showMode); }
    std::vector<std::pair<QUrl, int>> opened;
};

class FakeHelpViewer : public HelpViewer
{
public:
    void showContents(const QString &path) override { shown << path; }
    QStringList shown;
};

// Answers the save dialog with path (empty: the operator cancels).
class FakeFileDialog : public FileDialog
{
public:
    QString saveFileName(QWidget * /*parent*/, const QString &title, const QString & /*suggestedName*/) override
    {
        titles << title;
        return path;
    }
    QString path;
    QStringList titles;
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
