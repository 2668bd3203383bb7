// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Rig.h"

#include <QDir>
#include <QPrinterInfo>
#include <QProcess>
#include <pwd.h>
#include <unistd.h>

namespace cantabola::testing {

// A cups-pdf queue on a CUPS scheduler this test starts unless one runs already (which it then leaves
// running); the queue, and the scheduler by its process id, go with the object. It answers the print dialog.
struct CupsPdfQueue : PrintDialog
{
    CupsPdfQueue()
    {
        if (!running())
            scheduler.start("sh", {"-c", "mkdir -p /run/cups && exec /usr/sbin/cupsd -f"});
        ready = QTest::qWaitFor(running, 60000)
            && sh(QString("lpadmin -p %1 -E -v cups-pdf:/ -P %2").arg(name, driver))
            && QTest::qWaitFor([this] { return !QPrinterInfo::printerInfo(name).isNull(); }, 60000);
    }
    ~CupsPdfQueue() override
    {
        sh("lpadmin -x " + name);
        scheduler.terminate(); // nothing when this test did not start it
        scheduler.waitForFinished(15000);
    }
    std::unique_ptr<QPrinter> choosePrinter(QWidget *) override
    {
        auto printer = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
        printer->setDocName(name); // cups-pdf names the file after it
        return printer;
    }
    static bool possible()
    {
        return geteuid() == 0 && QFile::exists("/usr/sbin/cupsd") && QFile::exists(driver);
    }
    // The pages of the job once cups-pdf has written them into its "Out" folder (Debian's: PDF in the user's
    // home), rendered at dpi; the file goes. None when no job arrived within 30 s.
    QList<QImage> arrived(int dpi = 50) const
    {
        const QDir out(QString::fromLocal8Bit(getpwuid(geteuid())->pw_dir) + "/PDF");
        QList<QImage> pages;
        (void)QTest::qWaitFor(
            [&] {
                const QStringList found = out.entryList({"*" + name + "*.pdf"}, QDir::Files);
                if (found.isEmpty()
                    || (pages = testing::renderPdf(out.filePath(found.front()), dpi)).isEmpty())
                    return false;
                QFile::remove(out.filePath(found.front()));
                return true;
            },
            30000);
        return pages;
    }
    // Whether a shell command succeeds, what it writes dropped.
    static bool sh(QString c) { return QProcess::execute("sh", {"-c", c + " >/dev/null 2>&1"}) == 0; }
    static bool running() { return sh("lpstat -r | grep -q 'is running'"); }
    static constexpr const char *driver = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
    QString name
        = QStringLiteral("cantabolacartones%1").arg(QDateTime::currentMSecsSinceEpoch()); // queue, file
    QProcess scheduler;
    bool ready = false;
};

} // namespace cantabola::testing
