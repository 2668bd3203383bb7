// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HelpWindow.h"

#include "platform/AppInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace cantabola {

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new QTextBrowser(this))
{
    setWindowTitle(QStringLiteral("Ayuda de %1").arg(app::title));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    m_browser->setOpenExternalLinks(false);
    resize(640, 560);
}

void HelpWindow::showContents(const QString &helpFilePath)
{
    const QFileInfo info(helpFilePath);
    QFile file(helpFilePath);
    // A help document is text; anything unreadable, or too large to be one, is not shown as such.
    constexpr qint64 largestDocument = qint64{4} * 1024 * 1024;
    if (info.isFile() && info.size() <= largestDocument && file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        m_browser->setSearchPaths({info.absolutePath()});
        if (bytes.contains('\0'))
            m_browser->setPlainText(
                QStringLiteral("El archivo de ayuda «%1» no se puede leer.").arg(info.fileName()));
        else
            m_browser->setHtml(QString::fromUtf8(bytes));
    } else {
        m_browser->setPlainText(
            QStringLiteral("No se encuentra el archivo de ayuda «%1».").arg(info.fileName()));
    }
    m_browser->moveCursor(QTextCursor::Start);
    show();
    raise();
    activateWindow();
}

} // namespace cantabola
