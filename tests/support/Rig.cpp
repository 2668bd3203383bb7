#include "Rig.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace cantabola::testing {

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
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), pdf, folder.filePath("page")});
    if (!render.waitForFinished(60000) || render.exitStatus() != QProcess::NormalExit || render.exitCode() != 0)
        return {};
    QList<QImage> pages;
    const QDir dir(folder.path());
    for (const QString &file : dir.entryList({QStringLiteral("page*.png")}, QDir::Files, QDir::Name))
        pages << QImage(dir.filePath(file));
    return pages;
}

} // namespace cantabola::testing
