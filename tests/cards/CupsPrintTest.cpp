// The card window printed through a real CUPS queue: this test starts its own scheduler, adds a CUPS-PDF
// queue, prints the cards on it from the window as a person would (the print dialog answered with that
// printer) and waits for the one-page PDF that cups-pdf writes. It stops the scheduler it started, by its
// process id, also when a check fails. Without root, the scheduler or the cups-pdf driver it skips.

#include "CardMenu.h"
#include "FakePlatform.h"
#include "FrmBingo.h"
#include "FrmCartones.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <csignal>
#include <pwd.h>
#include <unistd.h>

using namespace cantabola;
using cantabola::testing::FakePlatform;

namespace {

const QString cupsd = QStringLiteral("/usr/sbin/cupsd");
const QString cupsPdfDriver = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
const QString cupsPdfConfig = QStringLiteral("/etc/cups/cups-pdf.conf");

struct Run
{
    int exitCode = -1;
    QString output;
};

Run run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromLocal8Bit(process.readAll());
    return result;
}

bool schedulerRunning()
{
    return run(QStringLiteral("lpstat"), {QStringLiteral("-r")})
        .output.contains(QStringLiteral("is running"));
}

// Where cups-pdf puts the jobs of the user running this test: its "Out" setting, ${HOME}/PDF by default on
// Debian, with the user's home from the password database as cups-pdf reads it.
QString cupsPdfOutputFolder()
{
    const passwd *user = getpwuid(geteuid());
    const QString home = user && user->pw_dir ? QString::fromLocal8Bit(user->pw_dir) : QDir::homePath();
    const QString name = user && user->pw_name ? QString::fromLocal8Bit(user->pw_name) : QString();
    QString folder = QStringLiteral("/var/spool/cups-pdf/${USER}");
    QFile config(cupsPdfConfig);
    if (config.open(QIODevice::ReadOnly | QIODevice::Text)) {
        static const QRegularExpression outLine(QStringLiteral("^\\s*Out\\s+(\\S.*)$"));
        while (!config.atEnd()) {
            const QString line = QString::fromLocal8Bit(config.readLine()).trimmed();
            const QRegularExpressionMatch match = outLine.match(line);
            if (match.hasMatch())
                folder = match.captured(1).trimmed();
        }
    }
    folder.replace(QStringLiteral("${HOME}"), home);
    folder.replace(QStringLiteral("${USER}"), name);
    return folder;
}

// The print dialog answered with the test's queue.
class QueuePrintDialog : public PrintDialog
{
public:
    std::unique_ptr<QPrinter> choosePrinter(QWidget * /*parent*/) override
    {
        ++opened;
        auto printer = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(queue), QPrinter::HighResolution);
        printer->setDocName(jobTitle);
        return printer;
    }
    QString queue;
    QString jobTitle;
    int opened = 0;
};

} // namespace

class CupsPrintTest : public QObject
{
    Q_OBJECT

public:
    ~CupsPrintTest() override { stopScheduler(); }

private slots:
    void initTestCase()
    {
        if (geteuid() != 0)
            QSKIP("needs root: the test starts its own CUPS scheduler and adds a queue");
        if (!QFile::exists(cupsd))
            QSKIP("CUPS is not installed (no /usr/sbin/cupsd)");
        if (!QFile::exists(cupsPdfDriver))
            QSKIP("the cups-pdf driver is not installed (printer-driver-cups-pdf)");
        for (const char *tool : {"lpadmin", "lpstat", "pdfinfo", "pdftoppm"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool))));
        }

        // A scheduler someone else runs is used as it is and left running.
        if (!schedulerRunning()) {
            QDir().mkpath(QStringLiteral("/run/cups"));
            m_scheduler.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            m_scheduler.start(cupsd, {QStringLiteral("-f")});
            QVERIFY2(m_scheduler.waitForStarted(5000), "cupsd did not start");
            m_schedulerPid = m_scheduler.processId();
            QElapsedTimer waited;
            waited.start();
            while (!schedulerRunning() && waited.elapsed() < 10000)
                QThread::msleep(100);
            QVERIFY2(schedulerRunning(), "cupsd started but does not answer");
        }

        m_queue = QStringLiteral("cantabola-cartones-%1").arg(QCoreApplication::applicationPid());
        const Run added = run(QStringLiteral("lpadmin"),
                              {QStringLiteral("-p"), m_queue, QStringLiteral("-E"), QStringLiteral("-v"),
                               QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), cupsPdfDriver});
        QVERIFY2(added.exitCode == 0, qPrintable(added.output));
        m_queueAdded = true;
    }

    void cleanupTestCase()
    {
        if (m_queueAdded)
            run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), m_queue});
        if (!m_output.isEmpty())
            QFile::remove(m_output);
        stopScheduler();
    }

    void cardsPrintedOnACupsPdfQueueArriveAsAOnePagePdf()
    {
        QElapsedTimer listed;
        listed.start();
        while (QPrinterInfo::printerInfo(m_queue).isNull() && listed.elapsed() < 10000)
            QThread::msleep(100);
        QVERIFY2(!QPrinterInfo::printerInfo(m_queue).isNull(), "the new queue is not among Qt's printers");

        FakePlatform fake;
        QueuePrintDialog dialog;
        dialog.queue = m_queue;
        // cups-pdf names the file after the job title; letters and digits only keep the name as it is.
        dialog.jobTitle = QStringLiteral("cantabolacartones%1").arg(QDateTime::currentMSecsSinceEpoch());
        Platform platform {fake.screen,   fake.clock,   fake.waiter, fake.random,
                           fake.messages, fake.process, fake.sound,  fake.colours,
                           dialog,        fake.browser, fake.help,   fake.platform.programFolder};
        ScaleValues scale;
        FrmBingo main(platform, scale);
        main.Load();
        installCardWindow(main);
        fake.random.scripted = {0.6}; // cards in RGB 0, 64, 64

        bool stillOpen = true;
        QTimer::singleShot(0, [&] {
            auto *window = qobject_cast<FrmCartones *>(QApplication::activeModalWidget());
            if (!window)
                return;
            QTest::mouseClick(window->CmbPrint, Qt::LeftButton);
            stillOpen = window->isVisible();
            window->close();
        });
        main.SM_Cards[2]->trigger();
        QCOMPARE(dialog.opened, 1);
        QVERIFY2(!stillOpen, "the print did not close the card window");
        QVERIFY(fake.messages.shown.empty());

        // The job goes through the scheduler, the filters and cups-pdf; the file is complete once it reads as
        // a PDF.
        const QDir folder(cupsPdfOutputFolder());
        int pages = 0;
        QElapsedTimer waited;
        waited.start();
        while (pages == 0 && waited.elapsed() < 30000) {
            QThread::msleep(250);
            const QStringList found
                = folder.entryList({QStringLiteral("*%1*.pdf").arg(dialog.jobTitle)}, QDir::Files);
            if (found.isEmpty())
                continue;
            m_output = folder.filePath(found.front());
            const Run info = run(QStringLiteral("pdfinfo"), {m_output});
            static const QRegularExpression pagesLine(QStringLiteral("Pages:\\s+(\\d+)"));
            const QRegularExpressionMatch match = pagesLine.match(info.output);
            if (info.exitCode == 0 && match.hasMatch())
                pages = match.captured(1).toInt();
        }
        QVERIFY2(!m_output.isEmpty(),
                 qPrintable(QStringLiteral("no PDF arrived in %1 within 30 seconds").arg(folder.path())));
        QCOMPARE(pages, 1);

        // The page shows the cards in their colour.
        QTemporaryDir rendered;
        const Run render = run(QStringLiteral("pdftoppm"),
                               {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("50"), m_output,
                                rendered.filePath("page")});
        QCOMPARE(render.exitCode, 0);
        const QStringList pngs = QDir(rendered.path()).entryList({QStringLiteral("page*.png")}, QDir::Files);
        QCOMPARE(pngs.size(), 1);
        const QImage page(rendered.filePath(pngs.front()));
        int cardColoured = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                if (c.red() < 30 && qAbs(c.green() - 64) < 20 && qAbs(c.blue() - 64) < 20)
                    ++cardColoured;
            }
        }
        QVERIFY2(cardColoured > 1000, qPrintable(QString::number(cardColoured)));
    }

private:
    void stopScheduler()
    {
        if (m_schedulerPid <= 0)
            return;
        ::kill(static_cast<pid_t>(m_schedulerPid), SIGTERM);
        if (!m_scheduler.waitForFinished(15000)) {
            ::kill(static_cast<pid_t>(m_schedulerPid), SIGKILL);
            m_scheduler.waitForFinished(5000);
        }
        m_schedulerPid = 0;
    }

    QProcess m_scheduler;
    qint64 m_schedulerPid = 0;
    QString m_queue;
    bool m_queueAdded = false;
    QString m_output;
};

QTEST_MAIN(CupsPrintTest)
#include "CupsPrintTest.moc"
