// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Rig.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

namespace cantabola::testing {

int whileModal(const QString &name, const std::function<void()> &open,
               const std::function<void(QDialog &)> &look)
{
    int looked = 0;
    QTimer::singleShot(0, [&] {
        auto *window = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!window)
            return;
        if (window->objectName() == name) {
            ++looked;
            look(*window);
        }
        if (window->isVisible())
            window->close();
    });
    open();
    QCoreApplication::processEvents(); // the timer left over when nothing opened
    return looked;
}

QStringList soundFileNames()
{
    QStringList names;
    for (int n = 1; n <= 15; ++n)
        names << QStringLiteral("%1.wav").arg(n);
    for (int tens = 20; tens <= 90; tens += 10)
        names << QStringLiteral("%1.wav").arg(tens);
    names << QStringLiteral("dieci.wav") << QStringLiteral("veinti.wav");
    for (const char *tens : {"treintay", "cuarentay", "cincuentay", "sesentay", "setentay", "ochentay"})
        names << QStringLiteral("%1.wav").arg(QLatin1String(tens));
    names << QStringLiteral("pac.wav");
    return names;
}

QList<QImage> renderPdf(const QString &pdf, int dpi)
{
    QTemporaryDir folder;
    QProcess render;
    render.start(
        QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), pdf, folder.filePath("page")});
    if (!render.waitForFinished(60000) || render.exitStatus() != QProcess::NormalExit
        || render.exitCode() != 0)
        return {};
    QList<QImage> pages;
    const QDir dir(folder.path());
    for (const QString &file : dir.entryList({QStringLiteral("page*.png")}, QDir::Files, QDir::Name))
        pages << QImage(dir.filePath(file));
    return pages;
}

} // namespace cantabola::testing
