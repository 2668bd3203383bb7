// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RealPlatform.h"

#include "platform/AppInfo.h"
#include "platform/HelpWindow.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>

namespace cantabola {

ScreenInfo QtScreen::metrics() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return ScreenInfo::fromPixels(800, 600, 15);
    const auto dpiX = static_cast<float>(screen->logicalDotsPerInchX());
    const auto dpiY = static_cast<float>(screen->logicalDotsPerInchY());
    ScreenInfo info;
    info.twipsPerPixelX = dpiX > 0 ? 1440.0F / dpiX : 15.0F;
    info.twipsPerPixelY = dpiY > 0 ? 1440.0F / dpiY : 15.0F;
    // In device pixels: with the toolkit's scaling off (switchOffToolkitScaling) they are the widgets'
    // pixels.
    const QSize pixels = screen->geometry().size() * screen->devicePixelRatio();
    info.widthTwips = static_cast<float>(pixels.width()) * info.twipsPerPixelX;
    info.heightTwips = static_cast<float>(pixels.height()) * info.twipsPerPixelY;
    return info;
}

MessageAnswer QtMessageBoxes::show(QWidget *parent, const Message &message)
{
    QMessageBox box(parent);
    box.setWindowTitle(message.title);
    box.setText(message.text);
    switch (message.icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    if (message.buttons == MessageButtons::YesNo) {
        // A question is answered by Sí or No and nothing else: neither Escape nor the close box may stand for
        // No (one reflexive Escape would end the room's game). Buttons of a role with no reject meaning leave
        // the box no escape button at all, and keep the order they were added in, whatever the style prefers.
        QPushButton *yes = box.addButton(QStringLiteral("&Sí"), QMessageBox::ActionRole);
        box.addButton(QStringLiteral("&No"), QMessageBox::ActionRole);
        box.setDefaultButton(yes);
        box.exec();
        return box.clickedButton() == yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

std::optional<QColor> QtColourDialog::chooseColour(QWidget *parent)
{
    // Qt's colour dialog always shows its custom-colour section; it starts from white, not from the card.
    QColorDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.currentColor();
}

std::unique_ptr<QPrinter> QtPrintDialog::choosePrinter(QWidget *parent)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return printer;
}

void DesktopBrowser::open(const QUrl &url, int /*showMode*/)
{
    // The desktop's URL handler starts the browser on its own; we neither wait nor look at the result.
    QDesktopServices::openUrl(url);
}

HelpWindowViewer::~HelpWindowViewer()
{
    delete m_window.data();
}

void HelpWindowViewer::showContents(const QString &helpFilePath)
{
    if (!m_window)
        m_window = new HelpWindow();
    m_window->showContents(helpFilePath);
}

QString QtFileDialog::saveFileName(QWidget *parent, const QString &title, const QString &suggestedName)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileDialog::getSaveFileName(parent, title, QDir(folder).filePath(suggestedName));
}

QString executableFolder()
{
    return QCoreApplication::applicationDirPath();
}

RealPlatform::RealPlatform(const QString &programFolder)
    : m_sound(QDir(programFolder).filePath(QLatin1String(SoundLibraryFileName)))
    , m_platform{m_screen, m_clock, m_waiter, m_random, m_messages, m_process, m_sound, m_colours, m_printing,
                 m_browser, m_help, m_files, programFolder,
                 QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                 // The desktop's usual place: ~/.config/Cantabola/Cantabola.conf
                 QSettings(QSettings::NativeFormat, QSettings::UserScope, app::title, app::title).fileName()}
{
}

} // namespace cantabola
