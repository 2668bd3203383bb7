// Cantabola's benchmark: timing and memory figures of the real program, each taken in the same run as a
// yardstick, so that the comparison holds on a busy machine. It prints one table and writes it as CSV. It is
// not a test: a figure that misses its goal is reported, never failed.
//
//   cantabola_bench [--quick] [--out DIR] [--csv FILE] [--program-dir DIR] [--screen WxH] [--only a,b]
//
// Every phase runs in a process of its own, this same program started with --child <phase>, on Qt's
// offscreen platform with a screen of the chosen size at 96 dpi and SDL's disk audio driver. The phases:
// calling (processor time and the pace of a game), waits, announce (latencies and the silence between
// words), cards, startup (with the two small programs beside this one, cantabola_bench_startup and
// cantabola_bench_minimal).

#include "Support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QSaveFile>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace bench {

namespace {

constexpr double missing = std::numeric_limits<double>::quiet_NaN();
// One buffer of the audio device: 512 frames at 44100 Hz.
constexpr double bufferMs = 512.0 * 1000.0 / 44100.0;

struct Arguments
{
    Options options;
    QString child;
    QString csv;
    QString screen = QStringLiteral("1920x1080");
    QStringList only;
    bool ok = true;
};

Arguments parse(int argc, char **argv)
{
    Arguments a;
    a.options.programFolder = QStringLiteral(CANTABOLA_PROGRAM_DIR);
    a.options.outputFolder = QDir::currentPath() + QStringLiteral("/bench-output");
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const auto value = [&]() -> QString {
            if (i + 1 >= argc) {
                a.ok = false;
                return {};
            }
            return QString::fromLocal8Bit(argv[++i]);
        };
        if (arg == QLatin1String("--quick"))
            a.options.quick = true;
        else if (arg == QLatin1String("--child"))
            a.child = value();
        else if (arg == QLatin1String("--out"))
            a.options.outputFolder = value();
        else if (arg == QLatin1String("--csv"))
            a.csv = value();
        else if (arg == QLatin1String("--program-dir"))
            a.options.programFolder = value();
        else if (arg == QLatin1String("--screen"))
            a.screen = value();
        else if (arg == QLatin1String("--only"))
            a.only = value().split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (!arg.startsWith(QLatin1Char('-')) || a.child.isEmpty())
            a.ok = false; // a child leaves Qt's own options to QApplication
    }
    // The program changes its working folder at start-up: every path handed on must stand on its own.
    a.options.outputFolder = QDir(a.options.outputFolder).absolutePath();
    a.options.programFolder = QDir(a.options.programFolder).absolutePath();
    if (a.csv.isEmpty())
        a.csv = a.options.outputFolder + QStringLiteral("/results.csv");
    return a;
}

int runChild(int argc, char **argv, const Arguments &a)
{
    const QString &name = a.child;
    quietKnownNotices();
    if (name == QLatin1String("calling"))
        return runCallingPhase(argc, argv, a.options);
    if (name == QLatin1String("waits"))
        return runWaitsPhase(argc, argv, a.options);
    if (name == QLatin1String("announce"))
        return runAnnouncePhase(argc, argv, a.options);
    if (name == QLatin1String("cards"))
        return runCardsPhase(argc, argv, a.options);
    std::fprintf(stderr, "cantabola_bench: no phase called \"%s\"\n", qPrintable(name));
    return 2;
}

using Results = QMap<QString, double>;

class Orchestra
{
public:
    explicit Orchestra(const Arguments &arguments)
        : m_a(arguments)
    {
    }

    int run();

private:
    QProcessEnvironment environment(const QString &audioFile) const;
    // Runs one phase; its results go into `into`, or m_results. False when it failed.
    bool phase(const QString &name, const QString &audioFile, int timeoutSeconds, Results *into = nullptr);
    // Runs a program with the phases' environment; what it reports goes into `into`. startedMs is the
    // moment just before it was started.
    bool runProcess(const QString &name, const QString &program, const QStringList &arguments,
                    const QString &audioFile, int timeoutSeconds, Results &into, double *startedMs = nullptr);
    void startup();
    bool wanted(const QString &name) const { return m_a.only.isEmpty() || m_a.only.contains(name); }
    double value(const QString &key) const { return m_results.value(key, missing); }
    void table() const;

    void noteLoad();

    const Arguments &m_a;
    QString m_screenFile;
    double m_lowestLoad = missing;
    double m_highestLoad = missing;
    Results m_results;
    QStringList m_failed;
};

QProcessEnvironment Orchestra::environment(const QString &audioFile) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + m_screenFile);
    env.insert(QStringLiteral("QT_ENABLE_HIGHDPI_SCALING"), QStringLiteral("0"));
    env.remove(QStringLiteral("QT_FONT_DPI"));
    env.remove(QStringLiteral("QT_SCALE_FACTOR"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("disk"));
    env.insert(QStringLiteral("SDL_DISKAUDIOFILE"), audioFile);
    env.remove(QStringLiteral("SDL_DISKAUDIODELAY")); // the driver keeps the pace of a real device
    return env;
}

// The machine's load average over the last minute, noted around every phase: the figures are only as calm
// as the machine was.
void Orchestra::noteLoad()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    bool ok = false;
    const double load = file.readAll().split(' ').value(0).toDouble(&ok);
    if (!ok)
        return;
    m_lowestLoad = std::isnan(m_lowestLoad) ? load : std::min(m_lowestLoad, load);
    m_highestLoad = std::isnan(m_highestLoad) ? load : std::max(m_highestLoad, load);
}

bool Orchestra::phase(const QString &name, const QString &audioFile, int timeoutSeconds, Results *into)
{
    QStringList arguments{QStringLiteral("--child"),       name,
                          QStringLiteral("--program-dir"), m_a.options.programFolder,
                          QStringLiteral("--out"),         m_a.options.outputFolder};
    if (m_a.options.quick)
        arguments << QStringLiteral("--quick");
    return runProcess(name, QCoreApplication::applicationFilePath(), arguments, audioFile, timeoutSeconds,
                      into ? *into : m_results);
}

bool Orchestra::runProcess(const QString &name, const QString &program, const QStringList &arguments,
                           const QString &audioFile, int timeoutSeconds, Results &into, double *startedMs)
{
    noteLoad();
    QProcess child;
    child.setProcessEnvironment(environment(audioFile));
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (startedMs)
        *startedMs = nowMs();
    child.start(program, arguments);
    const bool finished = child.waitForFinished(timeoutSeconds * 1000);
    if (!finished)
        child.kill();
    child.waitForFinished(5000);
    noteLoad();
    const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
    for (const QByteArray &line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            continue;
        bool ok = false;
        const double number = line.mid(equals + 1).toDouble(&ok);
        if (ok)
            into.insert(QString::fromUtf8(line.left(equals)), number);
    }
    if (!finished || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        QString why = QStringLiteral("exit code %1").arg(child.exitCode());
        if (!finished)
            why = QStringLiteral("timed out");
        else if (child.error() == QProcess::FailedToStart)
            why = QStringLiteral("could not start %1").arg(program);
        progress(QStringLiteral("%1 failed (%2)").arg(name, why));
        m_failed << name;
        return false;
    }
    return true;
}

void Orchestra::startup()
{
    // The program and the minimal window take turns; one start of each warms the file cache first.
    const int runs = m_a.options.quick ? 3 : 10;
    std::vector<double> times[2];
    std::vector<double> processor[2];
    std::vector<double> memory[2];
    // Two small programs beside this one: the program's start as its main() does it, and a minimal window.
    const QString folder = QCoreApplication::applicationDirPath();
    const QString programs[2] = {folder + QStringLiteral("/cantabola_bench_startup"),
                                 folder + QStringLiteral("/cantabola_bench_minimal")};
    const QStringList arguments[2] = {{m_a.options.programFolder}, {}};
    for (int run = -1; run < runs; ++run) {
        for (int kind = 0; kind < 2; ++kind) {
            Results child;
            double started = 0;
            if (!runProcess(QStringLiteral("startup"), programs[kind], arguments[kind],
                            QStringLiteral("/dev/null"), 60, child, &started))
                return;
            if (run < 0)
                continue;
            if (child.contains(QStringLiteral("painted_ms")))
                times[kind].push_back(child.value(QStringLiteral("painted_ms")) - started);
            if (child.contains(QStringLiteral("cpu_ms")))
                processor[kind].push_back(child.value(QStringLiteral("cpu_ms")));
            if (child.contains(QStringLiteral("peak_rss_kb")))
                memory[kind].push_back(child.value(QStringLiteral("peak_rss_kb")) / 1024.0);
        }
    }
    const auto median = [](const std::vector<double> &values) {
        return values.empty() ? missing : statsOf(values).median;
    };
    const auto fastest = [](const std::vector<double> &values) {
        return values.empty() ? missing : *std::min_element(values.begin(), values.end());
    };
    m_results.insert(QStringLiteral("startup.ours.median"), median(times[0]));
    m_results.insert(QStringLiteral("startup.minimal.median"), median(times[1]));
    m_results.insert(QStringLiteral("startup.ours.fastest"), fastest(times[0]));
    m_results.insert(QStringLiteral("startup.minimal.fastest"), fastest(times[1]));
    m_results.insert(QStringLiteral("startup_cpu.ours.median"), median(processor[0]));
    m_results.insert(QStringLiteral("startup_cpu.minimal.median"), median(processor[1]));
    m_results.insert(QStringLiteral("memory.ours.median"), median(memory[0]));
    m_results.insert(QStringLiteral("memory.minimal.median"), median(memory[1]));
    m_results.insert(QStringLiteral("startup.runs"), runs);
}

int Orchestra::run()
{
    if (!QDir().mkpath(m_a.options.outputFolder)) {
        std::fprintf(stderr, "cantabola_bench: cannot create %s\n", qPrintable(m_a.options.outputFolder));
        return 2;
    }
    const QStringList size = m_a.screen.split(QLatin1Char('x'));
    if (size.size() != 2 || size[0].toInt() < 800 || size[1].toInt() < 600) {
        std::fprintf(stderr, "cantabola_bench: --screen wants WIDTHxHEIGHT, at least 800x600\n");
        return 2;
    }
    m_screenFile = m_a.options.outputFolder + QStringLiteral("/screen.json");
    QSaveFile screen(m_screenFile);
    if (screen.open(QIODevice::WriteOnly)) {
        screen.write(QStringLiteral("{\"screens\":[{\"name\":\"bench\",\"x\":0,\"y\":0,\"width\":%1,"
                                    "\"height\":%2,\"logicalDpi\":96}]}\n")
                         .arg(size[0].toInt())
                         .arg(size[1].toInt())
                         .toUtf8());
        screen.commit();
    }

    const bool quick = m_a.options.quick;
    progress(QStringLiteral("%1 run on a %2 screen; program files from %3")
                 .arg(quick ? QStringLiteral("quick") : QStringLiteral("full"), m_a.screen,
                      m_a.options.programFolder));
    if (wanted(QStringLiteral("calling"))) {
        progress(quick ? QStringLiteral("calling: about 25 s") : QStringLiteral("calling: about 2 minutes"));
        phase(QStringLiteral("calling"), QStringLiteral("/dev/null"), 600);
    }
    if (wanted(QStringLiteral("waits"))) {
        progress(quick ? QStringLiteral("waits: about 20 s") : QStringLiteral("waits: about 2 minutes"));
        phase(QStringLiteral("waits"), QStringLiteral("/dev/null"), 600);
    }
    if (wanted(QStringLiteral("announce"))) {
        progress(quick ? QStringLiteral("announce: about 30 s")
                       : QStringLiteral("announce: about 2 minutes"));
        phase(QStringLiteral("announce"), m_a.options.outputFolder + QStringLiteral("/announce-audio.raw"),
              900);
    }
    if (wanted(QStringLiteral("cards"))) {
        phase(QStringLiteral("cards"), QStringLiteral("/dev/null"), 300);
    }
    if (wanted(QStringLiteral("startup"))) {
        progress(QStringLiteral("startup: the program and a minimal window, in turns"));
        startup();
    }
    table();
    // Every number the phases reported, for a closer look.
    QSaveFile raw(QFileInfo(m_a.csv).absolutePath() + QStringLiteral("/raw.txt"));
    if (raw.open(QIODevice::WriteOnly)) {
        for (auto it = m_results.cbegin(); it != m_results.cend(); ++it)
            raw.write(QStringLiteral("%1=%2\n").arg(it.key()).arg(it.value(), 0, 'f', 4).toUtf8());
        raw.commit();
    }
    if (!m_failed.isEmpty()) {
        progress(QStringLiteral("failed phases: %1").arg(m_failed.join(QStringLiteral(", "))));
        return 1;
    }
    return 0;
}

struct Row
{
    QString id;
    QString figure;
    QString unit;
    double ours = missing;
    double yardstick = missing;
    QString yardstickKind;
    QString comparison;
    QString goal;
    QString verdict;
};

QString number(double v, int decimals = 2)
{
    if (std::isnan(v))
        return QStringLiteral("n/a");
    return QString::number(v, 'f', decimals);
}

QString verdictOf(double v, bool met)
{
    if (std::isnan(v))
        return QStringLiteral("n/a");
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

// For a figure whose yardstick can be held to the same goal: a miss that the yardstick shares says that
// the machine was too busy to tell, and the result says so too.
QString verdictOf(double v, bool met, double yardstick, bool yardstickMet)
{
    const QString verdict = verdictOf(v, met);
    if (!met && !std::isnan(v) && !std::isnan(yardstick) && !yardstickMet)
        return verdict + QStringLiteral(" (yardstick too)");
    return verdict;
}

QString ratio(double ours, double yardstick)
{
    if (std::isnan(ours) || std::isnan(yardstick) || yardstick == 0)
        return QStringLiteral("n/a");
    return QString::number(ours / yardstick, 'f', 3) + QStringLiteral("x");
}

QString csvField(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void Orchestra::table() const
{
    std::vector<Row> rows;
    const auto add = [&rows](Row row) {
        rows.push_back(std::move(row));
    };
    const bool quick = m_a.options.quick;

    // 1. Processor time while calling.
    const double cpuOurs = value(QStringLiteral("cpu.ours.process_pct"));
    const double cpuSpin = value(QStringLiteral("cpu.spin.process_pct"));
    add({QStringLiteral("1a"),
         QStringLiteral("CPU while calling at %1 s, whole process (%2 s)")
             .arg(number(value(QStringLiteral("calling.delay_s")), 1),
                  number(value(QStringLiteral("cpu.seconds")), 0)),
         QStringLiteral("% of a core"), cpuOurs, cpuSpin, QStringLiteral("spinning wait"),
         ratio(cpuOurs, cpuSpin), QStringLiteral("<= 1"), verdictOf(cpuOurs, cpuOurs <= 1.0)});
    const double threadOurs = value(QStringLiteral("cpu.ours.thread_pct"));
    const double threadSpin = value(QStringLiteral("cpu.spin.thread_pct"));
    add({QStringLiteral("1b"), QStringLiteral("CPU while calling, user-interface thread only"),
         QStringLiteral("% of a core"), threadOurs, threadSpin, QStringLiteral("spinning wait"),
         ratio(threadOurs, threadSpin), QString(), QString()});
    const double audioOurs = value(QStringLiteral("cpu.ours.audio_pct"));
    const double audioSpin = value(QStringLiteral("cpu.spin.audio_pct"));
    add({QStringLiteral("1c"), QStringLiteral("CPU while calling, SDL's audio thread only"),
         QStringLiteral("% of a core"), audioOurs, audioSpin, QStringLiteral("spinning wait"),
         ratio(audioOurs, audioSpin), QString(), QString()});

    // 2. The wait.
    for (const QString &length : {QStringLiteral("05"), QStringLiteral("2")}) {
        const QString seconds = length == QLatin1String("05") ? QStringLiteral("0.5") : QStringLiteral("2");
        const QString prefix = QStringLiteral("wait") + length;
        const QString count = number(value(prefix + QStringLiteral(".ours.count")), 0);
        const double mean = value(prefix + QStringLiteral(".ours.mean"));
        const double worst = value(prefix + QStringLiteral(".ours.max"));
        const double sleepMean = value(prefix + QStringLiteral(".sleep.mean"));
        const double sleepWorst = value(prefix + QStringLiteral(".sleep.max"));
        add({QStringLiteral("2")
                 + (length == QLatin1String("05") ? QStringLiteral("a") : QStringLiteral("c")),
             QStringLiteral("Wait of %1 s, mean absolute error (%2 waits)").arg(seconds).arg(count),
             QStringLiteral("ms"), mean, sleepMean, QStringLiteral("thread sleep"), ratio(mean, sleepMean),
             QStringLiteral("< 2"), verdictOf(mean, mean < 2.0, sleepMean, sleepMean < 2.0)});
        add({QStringLiteral("2")
                 + (length == QLatin1String("05") ? QStringLiteral("b") : QStringLiteral("d")),
             QStringLiteral("Wait of %1 s, worst absolute error").arg(seconds), QStringLiteral("ms"), worst,
             sleepWorst, QStringLiteral("thread sleep"), ratio(worst, sleepWorst), QStringLiteral("< 10"),
             verdictOf(worst, worst < 10.0, sleepWorst, sleepWorst < 10.0)});
    }
    const double game = value(QStringLiteral("game.seconds"));
    const double nominal = value(QStringLiteral("game.nominal_seconds"));
    const double deviation = value(QStringLiteral("game.deviation_pct"));
    add({QStringLiteral("2e"),
         QStringLiteral("%1 of %2 balls at %3 s, voice off, click to end-of-game question")
             .arg(quick ? QStringLiteral("End of a game") : QStringLiteral("Whole game"))
             .arg(number(value(QStringLiteral("game.balls")), 0))
             .arg(number(value(QStringLiteral("calling.delay_s")), 1)),
         QStringLiteral("s"), game, nominal, QStringLiteral("balls x delay"),
         std::isnan(deviation) ? QStringLiteral("n/a") : QString::asprintf("%+.2f %%", deviation),
         QStringLiteral("within 0.5 %"), verdictOf(deviation, std::abs(deviation) <= 0.5)});

    // 3. From the click to the screen and to the loudspeaker.
    const double paintP99 = value(QStringLiteral("paint.ours.p99"));
    const double bareP99 = value(QStringLiteral("paint.bare.p99"));
    const QString clicks = number(value(QStringLiteral("paint.ours.count")), 0);
    add({QStringLiteral("3a"),
         QStringLiteral("Click on \"Sacar número\" to number and board label painted, p99 (%1 draws)")
             .arg(clicks),
         QStringLiteral("ms"), paintP99, bareP99, QStringLiteral("bare label repaint"),
         ratio(paintP99, bareP99), QStringLiteral("<= 16.7"),
         verdictOf(paintP99, paintP99 <= 16.7, bareP99, bareP99 <= 16.7)});
    const double paintMax = value(QStringLiteral("paint.ours.max"));
    const double bareMax = value(QStringLiteral("paint.bare.max"));
    add({QStringLiteral("3b"), QStringLiteral("Click to painted, worst"), QStringLiteral("ms"), paintMax,
         bareMax, QStringLiteral("bare label repaint"), ratio(paintMax, bareMax), QString(), QString()});
    const double paintCpu = value(QStringLiteral("paint_cpu.ours.p99"));
    const double bareCpu = value(QStringLiteral("paint_cpu.bare.p99"));
    add({QStringLiteral("3c"),
         QStringLiteral("Processor time of the user-interface thread from click to painted, p99"),
         QStringLiteral("ms"), paintCpu, bareCpu, QStringLiteral("bare label repaint"),
         ratio(paintCpu, bareCpu), QString(), QString()});
    const double soundMedian = value(QStringLiteral("sound.ours.median"));
    const double directMedian = value(QStringLiteral("sound.direct.median"));
    add({QStringLiteral("3d"), QStringLiteral("Click to first sample of the announcement, median"),
         QStringLiteral("ms"), soundMedian, directMedian, QStringLiteral("mixer started directly"),
         ratio(soundMedian, directMedian), QString(), QString()});
    const double soundMax = value(QStringLiteral("sound.ours.max"));
    const double directMax = value(QStringLiteral("sound.direct.max"));
    add({QStringLiteral("3e"), QStringLiteral("Click to first sample of the announcement, worst"),
         QStringLiteral("ms"), soundMax, directMax, QStringLiteral("mixer started directly"),
         ratio(soundMax, directMax), QString(), QString()});
    const double early = value(QStringLiteral("sound.before_paint"))
        + value(QStringLiteral("paint.not_painted")) + value(QStringLiteral("sound.not_heard"));
    add({QStringLiteral("3f"),
         QStringLiteral("Draws whose sound came before the paint (or either was missing)"),
         QStringLiteral("draws"), early, missing, QString(), QString(), QStringLiteral("0"),
         verdictOf(early, early == 0)});

    // 4. The silence between the two words of a number.
    const double gapMean = value(QStringLiteral("silence.gap_ms.mean"));
    const double gapMax = value(QStringLiteral("silence.gap_ms.max"));
    const QString pairs = number(value(QStringLiteral("silence.gap_ms.count")), 0);
    add({QStringLiteral("4a"),
         QStringLiteral("Silence between tens and units word, mean (%1 two-word numbers)").arg(pairs),
         QStringLiteral("ms"), gapMean, bufferMs, QStringLiteral("one 512-frame buffer"),
         ratio(gapMean, bufferMs), QStringLiteral("<= 11.6"), verdictOf(gapMean, gapMean <= bufferMs)});
    add({QStringLiteral("4b"), QStringLiteral("Silence between tens and units word, worst"),
         QStringLiteral("ms"), gapMax, bufferMs, QStringLiteral("one 512-frame buffer"),
         ratio(gapMax, bufferMs), QStringLiteral("<= 11.6"), verdictOf(gapMax, gapMax <= bufferMs)});
    const double lost = value(QStringLiteral("silence.lost"));
    if (!std::isnan(lost) && lost > 0)
        add({QStringLiteral("4c"), QStringLiteral("Words not found in the recording"),
             QStringLiteral("words"), lost, missing, QString(), QString(), QStringLiteral("0"),
             verdictOf(lost, false)});

    // 5. Start-up and memory.
    const double startOurs = value(QStringLiteral("startup.ours.median"));
    const double startMinimal = value(QStringLiteral("startup.minimal.median"));
    add({QStringLiteral("5a"),
         QStringLiteral("Start to main window first painted, median of %1")
             .arg(number(value(QStringLiteral("startup.runs")), 0)),
         QStringLiteral("ms"), startOurs, startMinimal, QStringLiteral("minimal Qt window"),
         ratio(startOurs, startMinimal), QStringLiteral("<= 1.5x"),
         verdictOf(startOurs, startOurs <= 1.5 * startMinimal)});
    const double startCpuOurs = value(QStringLiteral("startup_cpu.ours.median"));
    const double startCpuMinimal = value(QStringLiteral("startup_cpu.minimal.median"));
    add({QStringLiteral("5b"), QStringLiteral("Processor time from start to first paint, median"),
         QStringLiteral("ms"), startCpuOurs, startCpuMinimal, QStringLiteral("minimal Qt window"),
         ratio(startCpuOurs, startCpuMinimal), QString(), QString()});
    const double memOurs = value(QStringLiteral("memory.ours.median"));
    const double memMinimal = value(QStringLiteral("memory.minimal.median"));
    add({QStringLiteral("5c"), QStringLiteral("Peak memory (resident), half a second after the first paint"),
         QStringLiteral("MB"), memOurs, memMinimal, QStringLiteral("minimal Qt window"),
         std::isnan(memOurs - memMinimal) ? QStringLiteral("n/a")
                                          : QString::asprintf("%+.1f MB", memOurs - memMinimal),
         QStringLiteral("<= +40 MB"), verdictOf(memOurs, memOurs - memMinimal <= 40.0)});

    // 6. The card window.
    const auto cards = [&](const QString &id, const QString &what, const QString &key, const QString &stat) {
        const double ours = value(QStringLiteral("cards.%1.ours.%2").arg(key, stat));
        const double bare = value(QStringLiteral("cards.%1.bare.%2").arg(key, stat));
        add({id, what, QStringLiteral("ms"), ours, bare, QStringLiteral("bare dialog, 108 labels"),
             ratio(ours, bare), QStringLiteral("< 100"), verdictOf(ours, ours < 100.0, bare, bare < 100.0)});
    };
    const QString openings = number(value(QStringLiteral("cards.open.ours.count")), 0);
    cards(QStringLiteral("6a"),
          QStringLiteral("Open the card window with 4 cards, median of %1").arg(openings),
          QStringLiteral("open"), QStringLiteral("median"));
    cards(QStringLiteral("6b"), QStringLiteral("Open the card window with 4 cards, first opening of the run"),
          QStringLiteral("open"), QStringLiteral("first"));
    cards(QStringLiteral("6c"), QStringLiteral("Open the card window with 4 cards, worst"),
          QStringLiteral("open"), QStringLiteral("max"));
    const QString generations = number(value(QStringLiteral("cards.generate.ours.count")), 0);
    cards(QStringLiteral("6d"),
          QStringLiteral("\"Generar Cartones\" with a repaint per cell, median of %1").arg(generations),
          QStringLiteral("generate"), QStringLiteral("median"));
    cards(QStringLiteral("6e"), QStringLiteral("\"Generar Cartones\" with a repaint per cell, worst"),
          QStringLiteral("generate"), QStringLiteral("max"));

    // A run of some phases only shows their figures.
    if (!m_a.only.isEmpty())
        std::erase_if(rows, [](const Row &row) { return std::isnan(row.ours); });

    // The table, for a person.
    const QStringList header{
        QStringLiteral("#"),        QStringLiteral("Figure"),    QStringLiteral("Unit"),
        QStringLiteral("Ours"),     QStringLiteral("Yardstick"), QStringLiteral("Yardstick is"),
        QStringLiteral("Compared"), QStringLiteral("Goal"),      QStringLiteral("Result")};
    std::vector<QStringList> cells;
    cells.push_back(header);
    for (const Row &row : rows)
        cells.push_back({row.id, row.figure, row.unit, number(row.ours), number(row.yardstick),
                         row.yardstickKind, row.comparison, row.goal, row.verdict});
    std::vector<qsizetype> widths(header.size(), 0);
    for (const QStringList &line : cells)
        for (qsizetype c = 0; c < line.size(); ++c)
            widths[static_cast<std::size_t>(c)]
                = std::max(widths[static_cast<std::size_t>(c)], line[c].size());
    QTextStream out(stdout);
    out << "\n";
    for (std::size_t i = 0; i < cells.size(); ++i) {
        QStringList padded;
        for (qsizetype c = 0; c < cells[i].size(); ++c) {
            const bool numeric = c == 3 || c == 4;
            const qsizetype width = widths[static_cast<std::size_t>(c)];
            padded << (numeric ? cells[i][c].rightJustified(width) : cells[i][c].leftJustified(width));
        }
        out << padded.join(QStringLiteral("  ")) << "\n";
        if (i == 0) {
            QStringList rules;
            for (qsizetype width : widths)
                rules << QString(width, QLatin1Char('-'));
            out << rules.join(QStringLiteral("  ")) << "\n";
        }
    }
    const QString load = QStringLiteral("Load average (1 min) around the phases: %1 to %2, on %3 processors.")
                             .arg(number(m_lowestLoad, 1), number(m_highestLoad, 1))
                             .arg(QThread::idealThreadCount());
    out << "\n" << load << "\n";
    out.flush();

    // The same as CSV.
    QSaveFile csv(m_a.csv);
    if (!csv.open(QIODevice::WriteOnly)) {
        progress(QStringLiteral("cannot write %1").arg(m_a.csv));
        return;
    }
    QTextStream file(&csv);
    file << "id,figure,unit,ours,yardstick,yardstick_is,compared,goal,result\n";
    for (const Row &row : rows) {
        const auto plain = [](double v) {
            return std::isnan(v) ? QString() : QString::number(v, 'f', 3);
        };
        file << row.id << ',' << csvField(row.figure) << ',' << csvField(row.unit) << ',' << plain(row.ours)
             << ',' << plain(row.yardstick) << ',' << csvField(row.yardstickKind) << ','
             << csvField(row.comparison) << ',' << csvField(row.goal) << ',' << row.verdict << "\n";
    }
    file.flush();
    csv.commit();
    out << "\nbench: wrote " << QDir::cleanPath(QFileInfo(m_a.csv).absoluteFilePath()) << "\n";

    // And as a Markdown table, ready for the README.
    const QString markdownPath = QFileInfo(m_a.csv).absolutePath() + QStringLiteral("/results.md");
    QSaveFile markdown(markdownPath);
    if (!markdown.open(QIODevice::WriteOnly))
        return;
    QTextStream md(&markdown);
    md << "| # | Figure | Unit | Ours | Yardstick | Yardstick is | Compared | Goal | Result |\n";
    md << "|---|---|---|--:|--:|---|---|---|---|\n";
    for (const Row &row : rows) {
        QString figure = row.figure;
        figure.replace(QLatin1Char('|'), QStringLiteral("\\|"));
        md << "| " << row.id << " | " << figure << " | " << row.unit << " | " << number(row.ours) << " | "
           << (std::isnan(row.yardstick) ? QString() : number(row.yardstick)) << " | " << row.yardstickKind
           << " | " << row.comparison << " | " << row.goal << " | " << row.verdict << " |\n";
    }
    md << "\n" << load << "\n";
    md.flush();
    markdown.commit();
    out << "bench: wrote " << QDir::cleanPath(markdownPath) << "\n";
}

} // namespace

} // namespace bench

int main(int argc, char **argv)
{
    const bench::Arguments arguments = bench::parse(argc, argv);
    if (!arguments.ok) {
        std::fprintf(stderr,
                     "usage: cantabola_bench [--quick] [--out DIR] [--csv FILE] [--program-dir DIR] "
                     "[--screen WxH] [--only calling,waits,announce,cards,startup]\n");
        return 2;
    }
    if (!arguments.child.isEmpty())
        return bench::runChild(argc, argv, arguments);
    QCoreApplication application(argc, argv);
    bench::Orchestra orchestra(arguments);
    return orchestra.run();
}
