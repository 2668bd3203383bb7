// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/FrmAbout.h"

#include "about/WebAddress.h"
#include "mainwindow/MainWindow.h"
#include "platform/AppInfo.h"
#include "platform/Fonts.h"
#include "platform/QtColour.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>

namespace cantabola {

namespace {

QLabel *makeLabel(QWidget *parent, const QString &caption, const QFont &font, Qt::Alignment alignment)
{
    auto *label = new QLabel(caption, parent);
    label->setFont(font);
    label->setAlignment(alignment);
    return label;
}

// A line across the window, drawn as a strip of its colour as many pixels high as the line is wide.
QFrame *makeLine(QWidget *parent, std::uint32_t colour)
{
    auto *line = new QFrame(parent);
    line->setFrameStyle(QFrame::NoFrame);
    setBackColour(line, colour, true);
    return line;
}

QCursor handCursor()
{
    const QPixmap hand(QStringLiteral(":/pictures/mano.png"));
    if (hand.isNull())
        return Qt::PointingHandCursor;
    return QCursor(hand, frmAbout::handHotX, frmAbout::handHotY);
}

} // namespace

frmAbout::frmAbout(Platform &platform, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_platform(platform)
    , m_controls(this, QStringLiteral("frmAbout"))
{
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    setWindowTitle(QStringLiteral("Acerca de MiApl"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icono.png")));
    setFont(defaultDesignFont());

    const ScreenInfo screen = m_platform.screen.metrics();
    m_controls.setTwipsPerPixel(screen.twipsPerPixelX, screen.twipsPerPixelY);
    setFixedSize(m_controls.toPixelsX(innerWidth), m_controls.toPixelsY(innerHeight));

    buildControls();
    centreOnScreen();
    Form_Load();
}

void frmAbout::buildControls()
{
    ControlSet &c = m_controls;
    const float onePixelX = c.twipsPerPixelX();
    const float onePixelY = c.twipsPerPixelY();

    cmdOK = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdOK->setDefault(true);
    c.add(QStringLiteral("cmdOK"), QStringLiteral("commandbutton"), cmdOK, nullptr, 4515, 2940, 1185, 450,
          8.25F);

    Label1 = makeLabel(this, authorsWebAddress(), designFont(QStringLiteral("Verdana"), 9, true),
                       Qt::AlignLeft | Qt::AlignTop);
    setForeColour(Label1, linkColour);
    Label1->setCursor(handCursor());
    Label1->installEventFilter(this);
    c.add(QStringLiteral("Label1"), QStringLiteral("label"), Label1, nullptr, 240, 2940, 4155, 330, 9);

    Image1 = new QLabel(this);
    Image1->setPixmap(QPixmap(QStringLiteral(":/pictures/acerca.gif")));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    c.add(QStringLiteral("Image1"), QStringLiteral("image"), Image1, nullptr, 105, 210, 780, 795);

    // Lines run from their first point to their last, both included.
    Line1[1] = makeLine(this, 0x00808080);
    c.add(QStringLiteral("Line1(1)"), QStringLiteral("line"), Line1[1], nullptr, 105, 2520,
          5669 - 105 + onePixelX, onePixelY);

    lblDescription = makeLabel(this, description, defaultDesignFont(), Qt::AlignHCenter | Qt::AlignTop);
    lblDescription->setWordWrap(true);
    setForeColour(lblDescription, 0x00000000);
    c.add(QStringLiteral("lblDescription"), QStringLiteral("label"), lblDescription, nullptr, 1050, 1365,
          3885, 855, 8.25F);

    lblTitle = makeLabel(this, QStringLiteral("Título de la aplicación"),
                         designFont(QStringLiteral("Arial"), 14.25, true), Qt::AlignHCenter | Qt::AlignTop);
    setForeColour(lblTitle, 0x000000C0);
    c.add(QStringLiteral("lblTitle"), QStringLiteral("label"), lblTitle, nullptr, 1050, 240, 3885, 480,
          14.25F);

    Line1[0] = makeLine(this, 0x00FFFFFF);
    c.add(QStringLiteral("Line1(0)"), QStringLiteral("line"), Line1[0], nullptr, 105, 2625,
          5654 - 105 + onePixelX, 2 * onePixelY);

    lblVersion
        = makeLabel(this, QStringLiteral("Versión"), defaultDesignFont(), Qt::AlignHCenter | Qt::AlignTop);
    c.add(QStringLiteral("lblVersion"), QStringLiteral("label"), lblVersion, nullptr, 1050, 780, 3885, 225,
          8.25F);

    applyDrawingOrder(c);
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

void frmAbout::centreOnScreen()
{
    // Centred by its outer frame, which the window manager tells only once the window is up: centred again
    // then.
    const QSize frame = frameGeometry().size() - geometry().size();
    if (frame == m_centredWithFrame)
        return;
    m_centredWithFrame = frame;
    const ScreenInfo screen = m_platform.screen.metrics();
    const int left = (m_controls.toPixelsX(screen.widthTwips) - width() - frame.width()) / 2;
    const int top = (m_controls.toPixelsY(screen.heightTwips) - height() - frame.height()) / 2;
    move(std::max(0, left), std::max(0, top));
}

bool frmAbout::event(QEvent *event)
{
    if (event->type() == QEvent::Move || event->type() == QEvent::Show)
        centreOnScreen();
    return QDialog::event(event);
}

void frmAbout::Form_Load()
{
    m_platform.sound.play(QStringLiteral("pac.wav"), PlayMode::Async);
    setWindowTitle(QStringLiteral("Acerca de ") + app::title);
    lblVersion->setText(QStringLiteral("Versión ") + app::versionText());
    lblTitle->setText(app::title);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::reject()
{
    cmdOK_Click();
}

void frmAbout::Label1_Click()
{
    OpenWebAddress(m_platform.browser, authorsWebAddress(), showMaximised);
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && Label1->rect().contains(mouse->position().toPoint()))
            Label1_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void showAboutWindow(MainWindow &main)
{
    // At most one about window: a second request while it is open only brings it to the front.
    if (auto *open = main.widget().findChild<frmAbout *>(QString(), Qt::FindDirectChildrenOnly)) {
        open->raise();
        open->activateWindow();
        return;
    }
    QPointer<frmAbout> about = new frmAbout(main.platform(), &main.widget());
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->exec();
    // exec() deletes a window that deletes itself on close; this covers a window only hidden.
    delete about.data();
}

} // namespace cantabola
