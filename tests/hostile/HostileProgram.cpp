#include "HostileProgram.h"

#include "AniGif.h"
#include "BannerRotation.h"
#include "Controls.h"
#include "FrmBingo.h"
#include "HelpWindow.h"
#include "Partida.h"
#include "VoiceTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMovie>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

using namespace cantabola;

namespace hostile {

const QStringList soundFiles = {
    "1.wav",        "2.wav",        "3.wav",         "4.wav",          "5.wav",        "6.wav",
    "7.wav",        "8.wav",        "9.wav",         "10.wav",         "11.wav",       "12.wav",
    "13.wav",       "14.wav",       "15.wav",        "20.wav",         "30.wav",       "40.wav",
    "50.wav",       "60.wav",       "70.wav",        "80.wav",         "90.wav",       "dieci.wav",
    "veinti.wav",   "treintay.wav", "cuarentay.wav", "cincuentay.wav", "sesentay.wav", "setentay.wav",
    "ochentay.wav", "pac.wav",
};

QUrl bannerAddress(int n)
{
    return QUrl(QStringLiteral("http://patrocinador%1.example/").arg(n));
}

QByteArray goodAddressFile(int n)
{
    return (bannerAddress(n).toString() + QStringLiteral(",Patrocinador %1\r\n").arg(n)).toUtf8();
}

// ---------------------------------------------------------------------------------------------------------

ProgramFolder::ProgramFolder(Words words)
{
    if (!m_dir.isValid())
        return;
    const QDir assets(QStringLiteral(CANTABOLA_SOURCE_DIR "/assets"));
    bool ok = makeFolder(QStringLiteral("data"));
    const voicetest::WavFormat wordFormat{22050, 1, 16, 1};
    const QByteArray shortWord
        = voicetest::wavBytes(wordFormat, voicetest::constantPcm(wordFormat, 661, 2500));
    for (const QString &name : soundFiles) {
        if (words == Words::Short)
            ok = ok && write(name, shortWord);
        else
            ok = ok && QFile::copy(assets.filePath(QStringLiteral("sounds/") + name), filePath(name));
    }
    ok = ok
        && QFile::copy(assets.filePath(QStringLiteral("help/ayudabingo.html")),
                       filePath(QStringLiteral("ayudabingo.html")));
    for (int n = 1; n <= 9; ++n) {
        const QString picture = QStringLiteral("data/b%1.gif").arg(n);
        ok = ok && QFile::copy(assets.filePath(picture), filePath(picture));
        ok = ok && write(QStringLiteral("data/t%1.txt").arg(n), goodAddressFile(n));
    }
    m_valid = ok;
}

ProgramFolder::~ProgramFolder()
{
    // Folders first, from the outside in, so that what lies inside them can be reached again.
    m_restricted.sort();
    for (const QString &relative : std::as_const(m_restricted)) {
        const QString path = filePath(relative);
        ::chmod(QFile::encodeName(path).constData(), QFileInfo(path).isDir() ? 0755 : 0644);
    }
}

QString ProgramFolder::filePath(const QString &relative) const
{
    return relative.isEmpty() ? m_dir.path() : QDir(m_dir.path()).filePath(relative);
}

QByteArray ProgramFolder::read(const QString &relative) const
{
    QFile file(filePath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ProgramFolder::write(const QString &relative, const QByteArray &bytes) const
{
    QFile file(filePath(relative));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool ProgramFolder::writeSparse(const QString &relative, const QByteArray &head, qint64 size) const
{
    QFile file(filePath(relative));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(head) == head.size()
        && file.resize(size);
}

bool ProgramFolder::remove(const QString &relative) const
{
    const QString path = filePath(relative);
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        return QDir(path).removeRecursively();
    return QFile::remove(path);
}

bool ProgramFolder::makeFolder(const QString &relative) const
{
    return QDir(m_dir.path()).mkpath(relative);
}

bool ProgramFolder::restrict(const QString &relative, unsigned mode)
{
    const QString path = filePath(relative);
    const QByteArray native = QFile::encodeName(path);
    const bool folder = QFileInfo(path).isDir();
    m_restricted << relative;
    ::chmod(native.constData(), mode);
    return ::access(native.constData(), folder ? R_OK | X_OK : R_OK) == 0;
}

// ---------------------------------------------------------------------------------------------------------

namespace {

// Between two draws an operator waits seconds, far longer than any word: the word said last has ended by
// the next draw. The fake wait takes no time, so the real mixer is given the time here (SDL's disk driver
// plays faster than real time). The limit only keeps a stuck mixer from hanging the run.
void waitUntilQuiet()
{
    const Uint64 giveUpAt = SDL_GetTicks64() + 10000;
    while (Mix_Playing(-1) != 0 && SDL_GetTicks64() < giveUpAt)
        SDL_Delay(1);
}

} // namespace

HostileProgram::HostileProgram(const QString &programFolder, Expectations expectations)
    : m_expect(std::move(expectations))
    , m_previousFolder(QDir::currentPath())
    , m_platform{fake.screen, fake.clock,   fake.waiter,   fake.random,  fake.messages, fake.process,
                 m_sound,     fake.colours, fake.printing, fake.browser, m_help,        programFolder}
{
    fake.waiter.during = [this](double, int) {
        duringWait();
    };
    fake.messages.onShow = [this](const Message &message) {
        atMessage(message);
    };
    m_program = std::make_unique<Cantabola>(m_platform);
}

HostileProgram::~HostileProgram()
{
    m_program.reset();
    QDir::setCurrent(m_previousFolder);
}

FrmBingo &HostileProgram::w()
{
    return m_program->window();
}

void HostileProgram::fail(const QString &what)
{
    if (m_summary.failure.isEmpty())
        m_summary.failure
            = QStringLiteral("%1 (after %2 waits, %3 ticks)").arg(what).arg(m_waits).arg(m_summary.ticks);
}

RunSummary HostileProgram::run()
{
    FrmBingo &win = w();
    if (!m_program->start()) {
        fail(QStringLiteral("start-up refused the screen"));
        return m_summary;
    }
    if (QFileInfo(QDir::currentPath()).canonicalFilePath()
        != QFileInfo(m_platform.programFolder).canonicalFilePath())
        fail(QStringLiteral("start-up did not make the program's folder the current directory"));

    // The first minute: no picture and no link.
    QTest::mouseClick(win.AniGIF1, Qt::LeftButton, {}, QPoint(5, 5));
    if (!fake.browser.opened.empty())
        fail(QStringLiteral("a click on the banner before its first tick opened an address"));

    // A whole automatic game; the end-of-game question is answered Yes.
    if (!win.ModoAutomatico || win.CmbStart->text() != Partida::captionStart)
        fail(QStringLiteral("the program did not start in automatic mode"));
    QTest::mouseClick(win.CmbStart, Qt::LeftButton);
    if (m_questions != 1)
        fail(QStringLiteral("the automatic game asked \"%1\" %2 times")
                 .arg(Partida::endOfGameQuestion)
                 .arg(m_questions));
    if (win.CmbStart->text() != Partida::captionStart || !win.CmbStart->isEnabled())
        fail(QStringLiteral("after the game the start button reads \"%1\"").arg(win.CmbStart->text()));
    if (win.BolasSacadas != 0)
        fail(QStringLiteral("Yes to another game left %1 balls on the board").arg(win.BolasSacadas));
    checkBoard();

    askForHelp();

    // Balls one by one, with the voice and then with the signal.
    win.SM_Auto->trigger();
    if (win.ModoAutomatico)
        fail(QStringLiteral("\"Automático\" did not switch the automatic mode off"));
    for (int i = 0; i < m_expect.singleDraws / 2; ++i)
        drawOneByOne();
    win.SM_Voice->trigger();
    if (win.SM_Voice->isChecked())
        fail(QStringLiteral("\"Voz\" did not switch the voice off"));
    for (int i = m_expect.singleDraws / 2; i < m_expect.singleDraws; ++i)
        drawOneByOne();

    checkWindows();
    if (fake.messages.shown.size() != 1) {
        QStringList texts;
        for (const Message &message : fake.messages.shown)
            texts << message.text;
        fail(QStringLiteral("%1 messages were shown: %2")
                 .arg(texts.size())
                 .arg(texts.join(QStringLiteral(" | "))));
    }
    if (fake.process.ended != 0)
        fail(QStringLiteral("the program ended itself"));
    if (m_summary.wraps < 1)
        fail(QStringLiteral("the banner never went from 18 back to 1"));
    for (const QString &name : std::as_const(m_expect.requested)) {
        if (!m_sound.requested.contains(name))
            fail(QStringLiteral("the program never asked for \"%1\"").arg(name));
    }
    if (!m_sdl.openDevice())
        fail(QStringLiteral("no sound device was opened: nothing was really played"));
    return m_summary;
}

std::vector<QUrl> HostileProgram::tickAndClick()
{
    FrmBingo &win = w();
    QMetaObject::invokeMethod(win.Timer1, "timeout");
    const std::size_t before = fake.browser.opened.size();
    QTest::mouseClick(win.AniGIF1, Qt::LeftButton, {}, QPoint(5, 5));
    std::vector<QUrl> opened;
    for (std::size_t i = before; i < fake.browser.opened.size(); ++i)
        opened.push_back(fake.browser.opened[i].first);
    return opened;
}

void HostileProgram::duringWait()
{
    ++m_waits;
    waitUntilQuiet();
    checkBoard();
    if (m_waits % std::max(1, m_expect.waitsPerTick) == 0)
        tick();
    // In the middle of the automatic calling: the menu "Ayuda" stays usable.
    if (m_waits == 45)
        askForHelp();
}

void HostileProgram::atMessage(const Message &message)
{
    if (message.text != Partida::endOfGameQuestion) {
        fail(QStringLiteral("a message was shown: \"%1\"").arg(message.text));
        return;
    }
    ++m_questions;
    if (w().BolasSacadas != 90)
        fail(QStringLiteral("the end-of-game question came after %1 balls").arg(w().BolasSacadas));
    checkBoard();
    m_summary.balls += w().BolasSacadas;
}

void HostileProgram::tick()
{
    FrmBingo &win = w();
    const int before = win.BannerCounter;
    QMetaObject::invokeMethod(win.Timer1, "timeout");
    ++m_summary.ticks;
    const int after = win.BannerCounter;
    if (after != nextBannerCounter(before))
        fail(QStringLiteral("a tick took the banner count from %1 to %2").arg(before).arg(after));
    if (before == bannerCounterLast && after == 1)
        ++m_summary.wraps;
    const int banner = bannerNumber(after);

    // What a person sees: a frame of the picture, or nothing.
    const QMovie *movie = win.AniGIF1->movie();
    const bool shown = movie && !movie->currentImage().isNull();
    m_summary.pictures += shown ? 1 : 0;
    if (m_expect.picture == Picture::Shown && !shown)
        fail(QStringLiteral("banner %1 showed no picture").arg(banner));
    if (m_expect.picture == Picture::Blank && (shown || !win.AniGIF1->pixmap().isNull()))
        fail(QStringLiteral("banner %1 showed a picture").arg(banner));

    const std::size_t opened = fake.browser.opened.size();
    QTest::mouseClick(win.AniGIF1, Qt::LeftButton, {}, QPoint(5, 5));
    const auto &now = fake.browser.opened;
    if (m_expect.links == Links::Open) {
        if (now.size() != opened + 1 || now.back().first != bannerAddress(banner) || now.back().second != 0)
            fail(QStringLiteral("a click on banner %1 did not open its address hidden").arg(banner));
    } else if (now.size() != opened) {
        fail(QStringLiteral("a click on banner %1 opened \"%2\"")
                 .arg(banner)
                 .arg(now.back().first.toString()));
    }
    m_summary.linksOpened = static_cast<int>(now.size());
}

void HostileProgram::askForHelp()
{
    FrmBingo &win = w();
    if (!FrmBingo::menuEnabled(win.SM_Help) || !win.SM_play->isEnabled()) {
        fail(QStringLiteral("the help menu was greyed"));
        return;
    }
    win.SM_play->trigger();
    HelpWindow *help = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<HelpWindow *>(top))
            help = window;
    }
    if (!help || !help->isVisible()) {
        fail(QStringLiteral("\"Jugar\" showed no help window"));
        return;
    }
    const QString text = help->browser()->toPlainText();
    if (!text.contains(m_expect.helpSays))
        fail(QStringLiteral("the help window says \"%1\", not \"%2\"").arg(text.left(80), m_expect.helpSays));
}

void HostileProgram::drawOneByOne()
{
    FrmBingo &win = w();
    if (!win.CmbStart->isEnabled()) {
        fail(QStringLiteral("\"Sacar número\" was greyed between single draws"));
        return;
    }
    const int before = win.BolasSacadas;
    QTest::mouseClick(win.CmbStart, Qt::LeftButton);
    if (win.BolasSacadas != before + 1)
        fail(QStringLiteral("a single draw took the count from %1 to %2").arg(before).arg(win.BolasSacadas));
    else
        ++m_summary.balls;
    checkBoard();
}

// The count, the drum, the board and the large number agree: a number is red exactly when its ball is out.
void HostileProgram::checkBoard()
{
    FrmBingo &win = w();
    int flags = 0;
    for (std::size_t n = 1; n <= 90; ++n) {
        flags += win.BolaSacada[n] ? 1 : 0;
        const std::uint32_t expected = win.BolaSacada[n] ? FrmBingo::colourDrawn : FrmBingo::colourNotDrawn;
        if (foreColour(win.LblNumero[n]) != expected) {
            fail(QStringLiteral("board number %1 has the wrong colour").arg(n));
            return;
        }
    }
    if (win.BolasSacadas != flags)
        fail(QStringLiteral("%1 balls counted, %2 marked on the board").arg(win.BolasSacadas).arg(flags));
    const QString shown = win.LblNumEnJuego->text();
    if (!shown.isEmpty()
        && (shown != QString::number(win.NumEnJuego)
            || !win.BolaSacada[static_cast<std::size_t>(win.NumEnJuego)]))
        fail(
            QStringLiteral("the large number shows %1, the last ball was %2").arg(shown).arg(win.NumEnJuego));
}

// Nothing but the main window and the help window is on the screen, and no message box exists at all.
void HostileProgram::checkWindows()
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (!top->isVisible() || top == &w() || qobject_cast<HelpWindow *>(top))
            continue;
        fail(QStringLiteral("a window \"%1\" (%2) came up")
                 .arg(top->windowTitle(), top->metaObject()->className()));
    }
    for (QWidget *widget : QApplication::allWidgets()) {
        if (qobject_cast<QMessageBox *>(widget))
            fail(QStringLiteral("a message box \"%1\" was made")
                     .arg(static_cast<QMessageBox *>(widget)->text()));
    }
}

// ---------------------------------------------------------------------------------------------------------

Watchdog::Watchdog(const QString &what, std::chrono::seconds limit)
    : m_thread([this, name = what.toStdString(), limit] {
        std::unique_lock lock(m_mutex);
        if (!m_finished.wait_for(lock, limit, [this] { return m_done; })) {
            std::fprintf(stderr, "hostile: \"%s\" did not finish within %lld s: the program hangs\n",
                         name.c_str(), static_cast<long long>(limit.count()));
            std::fflush(stderr);
            std::_Exit(2);
        }
    })
{
}

Watchdog::~Watchdog()
{
    {
        const std::lock_guard lock(m_mutex);
        m_done = true;
    }
    m_finished.notify_all();
    m_thread.join();
}

// ---------------------------------------------------------------------------------------------------------

namespace {

std::vector<CaseRow> &caseRows()
{
    static std::vector<CaseRow> rows;
    return rows;
}

} // namespace

void recordCase(const CaseRow &row)
{
    caseRows().push_back(row);
}

void printCaseTable(const QString &title)
{
    const std::vector<CaseRow> &rows = caseRows();
    qInfo("%s", qPrintable(title));
    qInfo("%-56s %-7s %5s %5s %5s %6s  %s", "case", "outcome", "balls", "ticks", "links", "images", "notes");
    int passed = 0;
    for (const CaseRow &row : rows) {
        passed += row.passed ? 1 : 0;
        QString notes = row.notes;
        if (!row.summary.failure.isEmpty())
            notes += (notes.isEmpty() ? QString() : QStringLiteral("; ")) + row.summary.failure;
        qInfo("%-56s %-7s %5d %5d %5d %6d  %s", qPrintable(row.name), row.passed ? "passed" : "FAILED",
              row.summary.balls, row.summary.ticks, row.summary.linksOpened, row.summary.pictures,
              qPrintable(notes));
    }
    qInfo("%d cases, %d passed", static_cast<int>(rows.size()), passed);
}

} // namespace hostile
