#pragma once

// The whole program run against a program folder a test has damaged on purpose: the real main window with its
// game, voice, banner and help menu, over the recording fakes, except that sounds go through the real
// SdlSound (on SDL's disk driver writing to /dev/null, as fast as the machine goes) and the help through the
// real help window. One run calls a whole automatic game, asks for the help in the middle of it and after it,
// then draws balls one by one (half with the voice, half with the signal), while the banner timer ticks
// every few waits and the banner is clicked after every tick. Everything a person would notice is checked
// along the way: the board, the start button, the banner's rotation and links, the help window, and that the
// only message ever shown is the end-of-game question.

#include "Cantabola.h"
#include "FakePlatform.h"
#include "RealPlatform.h"
#include "SdlSound.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace hostile {

// The 31 words and the signal "pac.wav".
extern const QStringList soundFiles;

// The address a good address file of banner n names: "http://patrocinador<n>.example/".
QUrl bannerAddress(int n);
// A good address file of banner n, with a description after the comma.
QByteArray goodAddressFile(int n);

// A program folder made of the program's own runtime files (the recorded words, the help document, the nine
// banner pictures) and nine good address files, in a temporary folder. Permissions taken away by a test are
// given back before the folder is removed.
class ProgramFolder
{
public:
    enum class Words {
        Recorded, // the program's own recordings
        Short, // a tone of 30 ms under each name, in the recordings' format: hundreds of games in little time
    };
    explicit ProgramFolder(Words words = Words::Recorded);
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder &) = delete;
    ProgramFolder &operator=(const ProgramFolder &) = delete;

    bool isValid() const { return m_valid; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &relative) const;

    QByteArray read(const QString &relative) const;
    bool write(const QString &relative, const QByteArray &bytes) const;
    // A file of size bytes that starts with head and holds zeros after it, without writing them.
    bool writeSparse(const QString &relative, const QByteArray &head, qint64 size) const;
    // Removes a file or a whole folder.
    bool remove(const QString &relative) const;
    bool makeFolder(const QString &relative) const;
    // Sets the permission bits of a file or folder (0 for none). Returns whether this process can still read
    // it: a process with the rights of root reads everything, whatever the bits say.
    bool restrict(const QString &relative, unsigned mode);

private:
    QTemporaryDir m_dir;
    QStringList m_restricted;
    bool m_valid = false;
};

// Passes every request on to the real SdlSound and keeps a list of the files the program asked for.
class RecordingSound : public cantabola::Sound
{
public:
    explicit RecordingSound(cantabola::Sound &real)
        : m_real(real)
    {
    }
    void play(const QString &fileName, cantabola::PlayMode mode) override
    {
        requested << fileName;
        m_real.play(fileName, mode);
    }
    QStringList requested;

private:
    cantabola::Sound &m_real;
};

// What a damaged folder should still give the operator.
enum class Links {
    Open, // a click after each tick opens that banner's address, hidden
    None, // a click never opens anything
};
enum class Picture {
    Shown, // a picture shows after every tick
    Blank, // the banner stays blank
    Either, // some frames may show, or none (a picture cut short)
};

struct Expectations
{
    Links links = Links::Open;
    Picture picture = Picture::Shown;
    // What the help window must say; by default the help document's title.
    QString helpSays = QStringLiteral("Ayuda de Cantabola");
    // Sound files the program must have asked for, so that the damage was really met.
    QStringList requested;

    // How much is played after the automatic game: balls drawn one by one, half of them with the voice and
    // half with the signal. And how often the banner timer ticks: every so many waits, at least 18 times in
    // a run so that the banner always goes round once.
    int singleDraws = 50;
    int waitsPerTick = 3;
};

struct RunSummary
{
    QString failure; // empty when everything held
    int balls = 0;
    int ticks = 0;
    int wraps = 0;
    int linksOpened = 0;
    int pictures = 0; // ticks after which a picture showed
};

// The program over fakes with the real sound and help, started in a program folder; run() plays it through.
class HostileProgram
{
public:
    HostileProgram(const QString &programFolder, Expectations expectations);
    ~HostileProgram();
    HostileProgram(const HostileProgram &) = delete;
    HostileProgram &operator=(const HostileProgram &) = delete;

    RunSummary run();

    // After run(): one more tick and a click on the banner. Returns the addresses the click opened.
    std::vector<QUrl> tickAndClick();

    cantabola::testing::FakePlatform fake;

private:
    cantabola::FrmBingo &w();
    void fail(const QString &what);
    void duringWait();
    void atMessage(const cantabola::Message &message);
    void tick();
    void askForHelp();
    void drawOneByOne();
    void checkBoard();
    void checkWindows();

    Expectations m_expect;
    QString m_previousFolder;
    cantabola::SdlSound m_sdl;
    RecordingSound m_sound{m_sdl};
    cantabola::HelpWindowViewer m_help;
    cantabola::Platform m_platform;
    std::unique_ptr<cantabola::Cantabola> m_program;
    RunSummary m_summary;
    int m_waits = 0;
    int m_questions = 0;
};

// Ends the process with a message when a case runs past its limit: a hang would otherwise hold up the whole
// suite until ctest gives up on it, without saying which case hung.
class Watchdog
{
public:
    Watchdog(const QString &what, std::chrono::seconds limit);
    ~Watchdog();
    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_finished;
    bool m_done = false;
    std::thread m_thread;
};

// The table printed at the end of each suite: one row per case tried, and its outcome.
struct CaseRow
{
    QString name;
    bool passed = false;
    RunSummary summary;
    QString notes;
};
void recordCase(const CaseRow &row);
void printCaseTable(const QString &title);

} // namespace hostile
