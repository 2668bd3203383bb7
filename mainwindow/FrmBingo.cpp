// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/FrmBingo.h"

#include "about/BannerView.h"
#include "about/WebAddress.h"
#include "mainwindow/Board.h"
#include "mainwindow/BoardGeometry.h"
#include "platform/AppInfo.h"
#include "platform/Fonts.h"
#include "platform/Pictures.h"
#include "platform/QtColour.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalBlocker>

namespace cantabola {

// The window's inner area: black, with the gradient picture drawn from the top left corner unstretched, or,
// once start-up has painted it stretched, filling the area.
class BingoClient : public QWidget
{
public:
    explicit BingoClient(QWidget *parent)
        : QWidget(parent)
        , m_background(builtInPicture(QStringLiteral("fondo.gif")))
    {
        setAutoFillBackground(true);
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, Qt::black);
        setPalette(palette);
    }

    // Painted once at start-up; the picture then keeps filling the inner area as it is repainted.
    void paintStretchedOnce()
    {
        m_stretched = true;
        update();
    }
    QSize stretchedTo() const { return m_stretched ? size() : QSize(); }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        if (m_background.isNull())
            return;
        // One rectangle of the area to paint at a time: the picture is then copied as it is, where drawn
        // through the whole area (which the controls cut into pieces) Qt blends it row by row on threads of
        // its own.
        for (const QRect &piece : event->region()) {
            painter.setClipRect(piece);
            if (m_stretched)
                painter.drawPixmap(rect(), m_background);
            else
                painter.drawPixmap(0, 0, m_background);
        }
    }

private:
    QPixmap m_background;
    bool m_stretched = false;
};

namespace {

const QString numberingKey = QStringLiteral("Cartones/Numerar");
const QString networkBoardKey = QStringLiteral("Tablero/Red");
const QString networkBoardCaption = QStringLiteral("Tablero en la &red");

} // namespace

bool FrmBingo::cardsNumbered() const
{
    return numberCardsItem->isChecked();
}

FrmBingo::FrmBingo(Platform &platform, ScaleValues &scale, Game &game, QWidget *parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , ScaledWindow(*this, "FrmBingo")
    , m_platform(platform)
    , m_scale(scale)
    , m_game(game)
    , m_client(new BingoClient(this))
{
    setObjectName(QStringLiteral("FrmBingo"));
    setCentralWidget(m_client);
    setWindowTitle(app::title);
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icono.png")));
    setFont(defaultDesignFont());

    resetControls(m_client, m_platform.screen.metrics());

    ScalableProps &props = windowProps();
    props.fontSize = 8.25F;
    props.width = 11880;
    props.height = 8310;
    props.left = 0;
    props.top = 0;

    buildControls();
    buildMenus();
    connectGame();
}

FrmBingo::~FrmBingo() = default;

void FrmBingo::buildControls()
{
    ControlSet &c = controls();

    m_banner = new BannerView(m_client, c, m_platform.programFolder, m_platform.browser);
    connect(m_banner, &BannerView::changed, this, &FrmBingo::bannerChanged);

    Picture3 = makePanel(m_client);
    const Control &picture3 = c.add(QStringLiteral("Picture3"), QStringLiteral("picturebox"), Picture3,
                                    nullptr, 7080, 600, 4455, 3255, 8.25F);
    LblNumEnJuego = makeLabel(Picture3, QString(), designFont(QStringLiteral("Verdana"), 36, true));
    setForeColour(LblNumEnJuego, 0x00000080);
    c.add(QStringLiteral("LblNumEnJuego"), QStringLiteral("label"), LblNumEnJuego, &picture3, 1800, 1680,
          1035, 1005, 36);
    ImgBolaGrande = makeImage(Picture3, QStringLiteral("bolagrande.gif"));
    c.add(QStringLiteral("ImgBolaGrande"), QStringLiteral("image"), ImgBolaGrande, &picture3, 1560, 1200,
          1710, 1710);
    ImgTitulo = makeImage(Picture3, QStringLiteral("titulo.gif"));
    c.add(QStringLiteral("ImgTitulo"), QStringLiteral("image"), ImgTitulo, &picture3, 480, 120, 3510, 975);

    Picture2 = makePanel(m_client);
    const Control &picture2 = c.add(QStringLiteral("Picture2"), QStringLiteral("picturebox"), Picture2,
                                    nullptr, 7080, 3960, 4455, 2775, 8.25F);
    CmbNuevo = new QPushButton(QStringLiteral("Nueva partida"), Picture2);
    CmbNuevo->setFont(defaultDesignFont());
    c.add(QStringLiteral("CmbNuevo"), QStringLiteral("commandbutton"), CmbNuevo, &picture2, 2280, 1800, 1815,
          615, 8.25F);
    CmbImprimir = new QPushButton(QStringLiteral("Imprimir cartones"), Picture2);
    CmbImprimir->setFont(defaultDesignFont());
    c.add(QStringLiteral("CmbImprimir"), QStringLiteral("commandbutton"), CmbImprimir, &picture2, 240, 1800,
          1695, 615, 8.25F);
    CmbStart = new QPushButton(QStringLiteral("Sacar número"), Picture2);
    CmbStart->setFont(designFont(QStringLiteral("Arial"), 12, true));
    c.add(QStringLiteral("CmbStart"), QStringLiteral("commandbutton"), CmbStart, &picture2, 240, 240, 3855,
          855, 12);
    HscInterval = new QScrollBar(Qt::Horizontal, Picture2);
    HscInterval->setRange(4, 10);
    HscInterval->setValue(6);
    HscInterval->setSingleStep(1);
    HscInterval->setPageStep(1);
    c.add(QStringLiteral("HscInterval"), QStringLiteral("hscrollbar"), HscInterval, &picture2, 240, 1320,
          3855, 255);
    LblDelay = makeLabel(Picture2, QString(), designFont(QStringLiteral("MS Sans Serif"), 9.75, true));
    Control &delay = c.add(QStringLiteral("LblDelay"), QStringLiteral("label"), LblDelay, &picture2, 2190,
                           1440, 105, 240, 9.75F);
    delay.autoSize = true;

    m_board = new Board(m_client, c);

    applyDrawingOrder(c);

    // The keyboard order of the controls that take the focus: the delay bar, start, then the two buttons.
    setTabOrder(HscInterval, CmbStart);
    setTabOrder(CmbStart, CmbImprimir);
    setTabOrder(CmbImprimir, CmbNuevo);

    connect(HscInterval, &QScrollBar::valueChanged, this, &FrmBingo::updateDelayLabel);
    connect(CmbImprimir, &QPushButton::clicked, this, &FrmBingo::cardWindowRequested);
}

void FrmBingo::buildMenus()
{
    QMenuBar *bar = menuBar();
    M_Play = bar->addMenu(QStringLiteral("Juego"));
    M_Play->setObjectName(QStringLiteral("M_Play"));
    SM_New = M_Play->addAction(QStringLiteral("&Nuevo"));
    SM_New->setObjectName(QStringLiteral("SM_New"));
    SM_GetNumber = M_Play->addAction(QStringLiteral("&Sacar número"));
    SM_GetNumber->setObjectName(QStringLiteral("SM_GetNumber"));
    SM_GetNumber->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    SM_Print = M_Play->addMenu(QStringLiteral("&Imprimir cartones"));
    SM_Print->setObjectName(QStringLiteral("SM_Print"));
    const std::array<QString, 5> cardCaptions
        = {QString(), QStringLiteral("1 cartón"), QStringLiteral("2 cartones"), QStringLiteral("3 cartones"),
           QStringLiteral("4 cartones")};
    for (std::size_t n = 1; n <= 4; ++n) {
        QAction *item = SM_Print->addAction(cardCaptions[n]);
        item->setObjectName(QStringLiteral("SM_%1").arg(n));
        item->setCheckable(true);
        item->setChecked(n == 4);
        cardItems[n] = item;
        connect(item, &QAction::triggered, this, [this, n] { SM_Card_Click(static_cast<int>(n)); });
    }
    M_Play->addSeparator()->setObjectName(QStringLiteral("Separador"));
    SM_End = M_Play->addAction(QStringLiteral("Salir"));
    SM_End->setObjectName(QStringLiteral("SM_End"));

    M_Options = bar->addMenu(QStringLiteral("Opciones"));
    M_Options->setObjectName(QStringLiteral("M_Options"));
    SM_Auto = M_Options->addAction(QStringLiteral("&Automático"));
    SM_Auto->setObjectName(QStringLiteral("SM_Auto"));
    SM_Auto->setCheckable(true);
    SM_Auto->setChecked(true);
    SM_Voice = M_Options->addAction(QStringLiteral("&Voz "));
    SM_Voice->setObjectName(QStringLiteral("SM_Voice"));
    SM_Voice->setCheckable(true);
    SM_Voice->setChecked(true);

    // The game's own tools, usable while the game calls by itself.
    gameMenu = bar->addMenu(QStringLiteral("&Partida"));
    gameMenu->setObjectName(QStringLiteral("gameMenu"));
    const auto addItem = [this](const char *name, const QString &caption, const QKeySequence &keys) {
        QAction *item = gameMenu->addAction(caption);
        item->setObjectName(QLatin1String(name));
        item->setShortcut(keys);
        return item;
    };
    checkClaimItem = addItem("checkClaimItem", QStringLiteral("&Comprobar cartón..."), Qt::CTRL | Qt::Key_K);
    repeatItem = addItem("repeatItem", QStringLiteral("&Repetir número"), Qt::CTRL | Qt::Key_R);
    takeBackItem = addItem("takeBackItem", QStringLiteral("&Anular última bola"), Qt::CTRL | Qt::Key_Z);
    gameMenu->addSeparator();
    calledBallsItem = addItem("calledBallsItem", QStringLiteral("&Bolas cantadas..."), Qt::CTRL | Qt::Key_H);
    roomScreenItem = addItem("roomScreenItem", QStringLiteral("Pantalla de &sala"), Qt::Key_F11);
    roomScreenItem->setCheckable(true);
    connect(roomScreenItem, &QAction::toggled, this, &FrmBingo::roomScreenToggled);
    gameMenu->addSeparator();
    // Remembered between runs, as the operator left it.
    numberCardsItem = addItem("numberCardsItem", QStringLiteral("&Numerar cartones"), {});
    numberCardsItem->setCheckable(true);
    numberCardsItem->setChecked(
        !m_platform.settingsFile.isEmpty()
        && QSettings(m_platform.settingsFile, QSettings::IniFormat).value(numberingKey).toBool());
    connect(numberCardsItem, &QAction::toggled, this, [this](bool on) {
        if (!m_platform.settingsFile.isEmpty())
            QSettings(m_platform.settingsFile, QSettings::IniFormat).setValue(numberingKey, on);
    });
    printSeriesItem
        = addItem("printSeriesItem", QStringLiteral("Imprimir &series..."), Qt::CTRL | Qt::SHIFT | Qt::Key_P);
    cardsInPlayItem
        = addItem("cardsInPlayItem", QStringLiteral("Cartones en &juego..."), Qt::CTRL | Qt::Key_J);
    // The players' board: off to start with, then as the operator left it.
    networkBoardItem = addItem("networkBoardItem", networkBoardCaption, {});
    networkBoardItem->setCheckable(true);
    networkBoardItem->setChecked(
        !m_platform.settingsFile.isEmpty()
        && QSettings(m_platform.settingsFile, QSettings::IniFormat).value(networkBoardKey).toBool());
    connect(networkBoardItem, &QAction::toggled, this, &FrmBingo::networkBoardToggled);
    gameMenu->setToolTipsVisible(true);
    setCardsInPlayStatus(QString());
    connect(checkClaimItem, &QAction::triggered, this, [this] { haltThen(&FrmBingo::claimCheckRequested); });
    connect(printSeriesItem, &QAction::triggered, this,
            [this] { haltThen(&FrmBingo::seriesPrintRequested); });
    connect(cardsInPlayItem, &QAction::triggered, this,
            [this] { haltThen(&FrmBingo::cardsInPlayRequested); });
    connect(repeatItem, &QAction::triggered, &m_game, &Game::repeatNumber);
    connect(takeBackItem, &QAction::triggered, &m_game, &Game::takeBackLastBall);
    connect(calledBallsItem, &QAction::triggered, this, &FrmBingo::ballsCalledRequested);

    SM_Help = bar->addMenu(QStringLiteral("Ayuda"));
    SM_Help->setObjectName(QStringLiteral("SM_Help"));
    SM_play = SM_Help->addAction(QStringLiteral("Jugar"));
    SM_play->setObjectName(QStringLiteral("SM_play"));
    SM_play->setShortcut(Qt::Key_F1);
    SM_AcercaDe = SM_Help->addAction(QStringLiteral("Acerca de ..."));
    SM_AcercaDe->setObjectName(QStringLiteral("SM_AcercaDe"));

    // The menus keep the desktop's menu font: the window's font is scaled with the screen, the menus are not.
    QFont menuFont = QApplication::font(bar);
    menuFont.setResolveMask(QFont::AllPropertiesResolved);
    bar->setFont(menuFont);

    // The menu items of the checkable kind toggle their own mark; the handlers read it afterwards.
    connect(SM_End, &QAction::triggered, this, &QWidget::close);
    connect(SM_Auto, &QAction::triggered, this, &FrmBingo::SM_Auto_Click);
    connect(SM_Voice, &QAction::triggered, this, &FrmBingo::SM_Voice_Click);
    connect(SM_play, &QAction::triggered, this, &FrmBingo::SM_play_Click);
    connect(SM_AcercaDe, &QAction::triggered, this, &FrmBingo::aboutRequested);
}

void FrmBingo::connectGame()
{
    connect(CmbStart, &QPushButton::clicked, &m_game, &Game::startOrStop);
    connect(SM_GetNumber, &QAction::triggered, &m_game, &Game::startOrStop);
    connect(CmbNuevo, &QPushButton::clicked, &m_game, &Game::newGame);
    connect(SM_New, &QAction::triggered, &m_game, &Game::newGame);

    connect(&m_game, &Game::ballDrawn, this, &FrmBingo::showBall);
    connect(&m_game, &Game::ballTakenBack, this, &FrmBingo::takeBallBack);
    connect(&m_game, &Game::drumReset, this, &FrmBingo::clearBoard);
    connect(&m_game, &Game::gameRestored, this, &FrmBingo::showWholeGame);
    connect(&m_game, &Game::runStateChanged, this, &FrmBingo::showRunState);
    connect(&m_game, &Game::gameFinished, this, [this] { m_platform.process.endProcess(); });
    m_game.setEndOfGameQuestion(this);
    updateGameItems();
}

bool FrmBingo::Load()
{
    // 1. A fresh seed for the draw.
    m_platform.random.reseed(m_platform.clock.secondsSinceMidnight());
    // 2, 3. The banner changes once a minute from now on; the first shown is a random one of 1 to 8.
    m_banner->start(m_platform.random.next());
    // 4.
    setWindowTitle(mainWindowCaption());
    // 5, 6.
    m_scale.DesignWidth = 800;
    m_scale.DesignHeight = 600;
    ScalableProps &props = windowProps();
    props.width = 12000;
    props.height = 9000;

    // 7. A screen that is too small is refused before anything shows.
    const ScreenInfo screen = m_platform.screen.metrics();
    if (screenTooSmall(screen)) {
        m_platform.messages.show(
            nullptr,
            {QStringLiteral(
                 "No es posible iniciar el programa a una resolución de pantalla tan baja. Resolución "
                 "mínima = 800 x 600"),
             app::title, MessageIcon::Critical, MessageButtons::Ok});
        m_platform.process.endProcess();
        return false;
    }

    // 8. The one screen the design was drawn for keeps the design; every other is adapted and filled.
    if (isDesignKeepingScreen(screen)) {
        m_scale.ScaleX = 1.0F;
        props.left = (screen.widthTwips - *props.width) / 2;
        props.top = (screen.heightTwips - *props.height) / 2;
    } else {
        ScaleWindowToScreen(*this, m_scale, screen);
        controls().placeAll();
        props.left = 0;
        props.top = 0;
        props.width = screen.widthTwips;
        props.height = screen.heightTwips;
    }
    applyWindowGeometry([this, &props](QSize /*outer*/) {
        return QPoint(controls().toPixelsX(props.left.value_or(0)),
                      controls().toPixelsY(props.top.value_or(0)));
    });

    // 9.
    ImgBolaGrande->setScaledContents(true);
    ImgTitulo->setScaledContents(true);
    // 10.
    m_game.setModoAutomatico(true);
    m_game.setVoice(SM_Voice->isChecked());
    // 11. Sounds and the help document are named without a folder from here on.
    QDir::setCurrent(m_platform.programFolder);
    // 12.
    updateDelayLabel();
    // 13. A 1024-pixel screen at 12 twips per pixel gets stretched balls, a board font of its own and the
    // background stretched over the inner area.
    const bool wide12 = screen.widthTwips == 12288.0F;
    m_board->build(controls(), m_scale, wide12);
    if (wide12)
        m_client->paintStretchedOnce();
    // 14. The number display sits in the middle of the large ball.
    Control &big = control(QStringLiteral("ImgBolaGrande"));
    Control &number = control(QStringLiteral("LblNumEnJuego"));
    number.props.left = centredOn(*big.props.left, *big.props.width, *number.props.width);
    number.props.top = centredOn(*big.props.top, *big.props.height, *number.props.height);
    controls().place(number);
    // 15.
    show();
    return true;
}

void FrmBingo::updateDelayLabel()
{
    // The bar counts half seconds.
    LblDelay->setText(delayCaption(HscInterval->value(), locale()));
    controls().refit(control(QStringLiteral("LblDelay")));
    m_game.setDelaySeconds(HscInterval->value() / 2.0);
}

void FrmBingo::setMenuEnabled(QMenu *menu, bool enabled)
{
    menu->menuAction()->setEnabled(enabled);
    menu->setEnabled(enabled);
}

ScalableProps FrmBingo::outerGeometry() const
{
    const QRect outer = frameGeometry();
    ScalableProps props = windowProps();
    props.left = controls().toTwipsX(outer.x());
    props.top = controls().toTwipsY(outer.y());
    props.width = controls().toTwipsX(outer.width());
    props.height = controls().toTwipsY(outer.height());
    return props;
}

QSize FrmBingo::stretchedBackground() const
{
    return m_client->stretchedTo();
}

void FrmBingo::showBall(int n)
{
    // Painted at once: the announcement that follows holds the thread.
    LblNumEnJuego->setText(QString::number(n));
    LblNumEnJuego->repaint();
    m_board->showDrawn(n, true);
    updateGameItems();
}

void FrmBingo::takeBallBack(int n)
{
    m_board->showDrawn(n, false);
    showNumEnJuego();
    updateGameItems();
}

void FrmBingo::clearBoard()
{
    m_board->clear();
    LblNumEnJuego->setText(QString());
    updateGameItems();
}

void FrmBingo::showWholeGame()
{
    m_board->showGame(m_game);
    showNumEnJuego();
    updateGameItems();
}

void FrmBingo::showNumEnJuego()
{
    const int shown = m_game.NumEnJuego();
    LblNumEnJuego->setText(shown ? QString::number(shown) : QString());
}

void FrmBingo::updateGameItems()
{
    repeatItem->setEnabled(m_game.NumEnJuego() != 0);
    takeBackItem->setEnabled(m_game.BolasSacadas() > 0 && m_game.runState() != RunState::Calling);
}

void FrmBingo::haltThen(void (FrmBingo::*request)())
{
    // A claim, a print or the cards of the game halt the game: the calling stops as a click on "Parar juego"
    // stops it.
    if (m_game.runState() == RunState::Calling)
        m_game.startOrStop();
    emit(this->*request)();
}

void FrmBingo::setCardsInPlayStatus(const QString &status)
{
    const QString text = status.isEmpty() ? QStringLiteral("Ningún cartón en juego.") : status;
    cardsInPlayItem->setStatusTip(text);
    cardsInPlayItem->setToolTip(text);
}

void FrmBingo::showRunState(RunState state)
{
    // While the game calls by itself only the stop, the delay, the help and the close box stay usable; a ball
    // drawn one-by-one holds the start button back until its announcement has had its pause.
    const bool calling = state == RunState::Calling;
    setMenuEnabled(M_Options, !calling);
    setMenuEnabled(M_Play, !calling);
    CmbImprimir->setEnabled(!calling);
    CmbNuevo->setEnabled(!calling);
    CmbStart->setText(calling ? captionStop : captionStart);
    // A disabled button hands the keyboard focus on to the next control, where the operator's next Space
    // would open the card window. The focus stays with nobody while the button is away and comes back to it.
    if (state == RunState::Drawing && CmbStart->hasFocus()) {
        m_startHadFocus = true;
        CmbStart->clearFocus();
    }
    CmbStart->setEnabled(state != RunState::Drawing);
    if (state != RunState::Drawing && m_startHadFocus) {
        m_startHadFocus = false;
        CmbStart->setFocus();
    }
    updateGameItems();
}

bool FrmBingo::playAgain()
{
    return m_platform.messages.show(
               this, {endOfGameQuestion, app::title, MessageIcon::Question, MessageButtons::YesNo})
        == MessageAnswer::Yes;
}

void FrmBingo::SM_Card_Click(int n)
{
    // The item has already toggled its own tick when it was chosen.
    if (cardItems.at(static_cast<std::size_t>(n))->isChecked()) {
        for (int other = 1; other <= 4; ++other) {
            if (other != n)
                cardItems.at(static_cast<std::size_t>(other))->setChecked(false);
        }
    }
    m_numberOfCards = static_cast<std::uint8_t>(n);
    emit cardWindowRequested();
}

void FrmBingo::SM_Auto_Click()
{
    // The item's check mark has already been inverted by the menu.
    CmbStart->setEnabled(true);
    m_game.setModoAutomatico(SM_Auto->isChecked());
}

void FrmBingo::SM_Voice_Click()
{
    // With the voice on a word needs time to be heard: the shortest delay becomes 2 seconds. The bar raises a
    // value below its new minimum by itself, and the delay label and the game follow.
    m_game.setVoice(SM_Voice->isChecked());
    HscInterval->setRange(SM_Voice->isChecked() ? 4 : 1, 10);
}

void FrmBingo::SM_play_Click()
{
    m_platform.help.showContents(QDir::current().absoluteFilePath(helpFileName));
}

void FrmBingo::setRoomScreenChecked(bool shown)
{
    roomScreenItem->setChecked(shown);
}

void FrmBingo::showNetworkBoard(const QString &address)
{
    const QSignalBlocker quiet(networkBoardItem);
    networkBoardItem->setChecked(!address.isEmpty());
    networkBoardItem->setText(address.isEmpty() ? networkBoardCaption
                                                : networkBoardCaption + QStringLiteral(": ") + address);
    networkBoardItem->setStatusTip(address.isEmpty() ? QString()
                                                     : QStringLiteral("Siga la partida en ") + address);
    if (!m_platform.settingsFile.isEmpty())
        QSettings(m_platform.settingsFile, QSettings::IniFormat)
            .setValue(networkBoardKey, !address.isEmpty());
}

bool FrmBingo::networkBoardChecked() const
{
    return networkBoardItem->isChecked();
}

void FrmBingo::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_platform.process.endProcess();
}

} // namespace cantabola
