// Start-up of the main window on screens of every kind, driven through the real window with a fake screen,
// and a look at the finished window: caption, menus, board and delay label.

#include "BoardGeometry.h"
#include "Colour.h"
#include "FakePlatform.h"
#include "FrmBingo.h"

#include <QAction>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace cantabola;
using cantabola::testing::FakePlatform;

namespace {

struct Started
{
    explicit Started(ScreenInfo screen)
    {
        fake.screen.info = screen;
        window = std::make_unique<FrmBingo>(fake.platform, scale);
        loaded = window->Load();
    }
    FakePlatform fake;
    ScaleValues scale;
    std::unique_ptr<FrmBingo> window;
    bool loaded = false;
};

QStringList actionCaptions(const QMenu *menu)
{
    QStringList captions;
    for (const QAction *action : menu->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void tooSmallScreenIsRefusedWithItsMessage_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<float>("twipsPerPixel");
        QTest::newRow("640x480 at 15") << 640 << 480 << 15.0F;
        QTest::newRow("640x480 at 12") << 640 << 480 << 12.0F;
        QTest::newRow("600x800 at 15") << 600 << 800 << 15.0F;
    }
    void tooSmallScreenIsRefusedWithItsMessage()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(float, twipsPerPixel);
        Started s(ScreenInfo::fromPixels(width, height, twipsPerPixel));
        QVERIFY(!s.loaded);
        QCOMPARE(s.fake.messages.shown.size(), std::size_t(1));
        const Message &message = s.fake.messages.shown.front();
        QCOMPARE(message.text, QStringLiteral("No es posible iniciar el programa a una resolución de pantalla tan baja. "
                                              "Resolución mínima = 800 x 600"));
        QCOMPARE(message.title, QStringLiteral("Cantabola"));
        QCOMPARE(message.icon, MessageIcon::Critical);
        QCOMPARE(message.buttons, MessageButtons::Ok);
        QCOMPARE(s.fake.process.ended, 1);
        QVERIFY(!s.window->isVisible());
        QVERIFY(!s.window->ImgBola[1]); // the board was never built
    }

    void screenTableGivesSizeScaleAndBoardFont_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<float>("twipsPerPixel");
        QTest::addColumn<bool>("adjusted");
        QTest::addColumn<float>("scaleX");
        QTest::addColumn<QRectF>("windowTwips");
        QTest::addColumn<float>("boardFont");
        QTest::newRow("800x600 at 12") << 800 << 600 << 12.0F << true << 1.25F << QRectF(0, 0, 9600, 7200) << 14.4F;
        QTest::newRow("800x600 at 15") << 800 << 600 << 15.0F << false << 1.0F << QRectF(0, 0, 12000, 9000) << 18.0F;
        QTest::newRow("641x480 at 15") << 641 << 480 << 15.0F << true << 1.2480499F << QRectF(0, 0, 9615, 7200)
                                       << 14.4225F;
        QTest::newRow("1024x768 at 15") << 1024 << 768 << 15.0F << false << 1.0F << QRectF(1680, 1260, 12000, 9000)
                                        << 18.0F;
        QTest::newRow("1024x768 at 12") << 1024 << 768 << 12.0F << true << 1.25F << QRectF(0, 0, 12288, 9216)
                                        << 14.4F;
        QTest::newRow("1280x1024 at 15") << 1280 << 1024 << 15.0F << true << 0.625F << QRectF(0, 0, 19200, 15360)
                                         << 28.8F;
    }
    void screenTableGivesSizeScaleAndBoardFont()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(float, twipsPerPixel);
        QFETCH(bool, adjusted);
        QFETCH(float, scaleX);
        QFETCH(QRectF, windowTwips);
        QFETCH(float, boardFont);
        Started s(ScreenInfo::fromPixels(width, height, twipsPerPixel));
        QVERIFY(s.loaded);
        QVERIFY(s.fake.messages.shown.empty());
        QVERIFY(s.window->isVisible());
        QCOMPARE(s.window->ajustado(), adjusted);
        QCOMPARE(s.scale.ScaleX, scaleX);
        const ScalableProps &props = s.window->windowProps();
        QCOMPARE(QRectF(*props.left, *props.top, *props.width, *props.height), windowTwips);
        // The window itself, in pixels of this screen.
        QCOMPARE(s.window->frameGeometry().topLeft(),
            QPoint(qRound(windowTwips.left() / twipsPerPixel), qRound(windowTwips.top() / twipsPerPixel)));
        QCOMPARE(s.window->frameGeometry().size(),
            QSize(qRound(windowTwips.width() / twipsPerPixel), qRound(windowTwips.height() / twipsPerPixel)));
        for (int n = 1; n <= 90; ++n) {
            const Control &label = s.window->control(QStringLiteral("LblNumero(%1)").arg(n));
            QCOMPARE(*label.props.fontSize, boardFont);
            QVERIFY(s.window->LblNumero[static_cast<std::size_t>(n)]->font().bold());
        }
    }

    void designScreenCentresEveryBallOnItsNumber()
    {
        Started s(ScreenInfo::fromPixels(1024, 768, 15));
        for (int n = 1; n <= 90; ++n) {
            const Control &label = s.window->control(QStringLiteral("LblNumero(%1)").arg(n));
            const Control &ball = s.window->control(QStringLiteral("ImgBola(%1)").arg(n));
            QCOMPARE(*ball.props.left + *ball.props.width / 2, *label.props.left + *label.props.width / 2);
            QCOMPARE(*ball.props.top + *ball.props.height / 2, *label.props.top + *label.props.height / 2);
            // And on the screen: the ball's centre is the label's centre within a pixel.
            const QRect labelRect = s.window->LblNumero[static_cast<std::size_t>(n)]->geometry();
            const QRect ballRect = s.window->ImgBola[static_cast<std::size_t>(n)]->geometry();
            QVERIFY(qAbs(labelRect.center().x() - ballRect.center().x()) <= 1);
            QVERIFY(ballRect.width() == 34 && ballRect.height() == 34);
            QVERIFY(s.window->ImgBola[static_cast<std::size_t>(n)]->isVisible());
        }
        QVERIFY(!s.window->stretchedBackground().isValid());
    }

    void wideScreenAtTwelveOffsetsBallsByTheDifferenceOverTwoAndAHalf()
    {
        Started s(ScreenInfo::fromPixels(1024, 768, 12));
        for (int n : {1, 45, 90}) {
            const Control &label = s.window->control(QStringLiteral("LblNumero(%1)").arg(n));
            const Control &ball = s.window->control(QStringLiteral("ImgBola(%1)").arg(n));
            const float expected = *label.props.left + (*label.props.width - *ball.props.width) / 2.5F;
            QVERIFY(qAbs(*ball.props.left - expected) < 0.01F);
            QVERIFY(s.window->ImgBola[static_cast<std::size_t>(n)]->hasScaledContents());
        }
        // The background picture was painted once, stretched over the window's inner area.
        QCOMPARE(s.window->stretchedBackground(), s.window->centralWidget()->size());
    }

    void captionMenusAndBoardLookAsDesigned()
    {
        Started s(ScreenInfo::fromPixels(1024, 768, 15));
        FrmBingo &w = *s.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("CANTABOLA Versión 2.0.0"));

        QCOMPARE(actionCaptions(w.M_Play),
            QStringList({"&Nuevo", "&Sacar número", "&Imprimir cartones", "-", "Salir"}));
        QCOMPARE(w.M_Play->title(), QStringLiteral("Juego"));
        QCOMPARE(w.SM_GetNumber->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(actionCaptions(w.SM_Print), QStringList({"1 cartón", "2 cartones", "3 cartones", "4 cartones"}));
        for (std::size_t n = 1; n <= 4; ++n) {
            QVERIFY(w.SM_Cards[n]->isCheckable());
            QCOMPARE(w.SM_Cards[n]->isChecked(), n == 4);
        }
        QCOMPARE(w.M_Options->title(), QStringLiteral("Opciones"));
        QCOMPARE(actionCaptions(w.M_Options), QStringList({"&Automático", "&Voz "}));
        QVERIFY(w.SM_Auto->isChecked());
        QVERIFY(w.SM_Voice->isChecked());
        QCOMPARE(w.SM_Help->title(), QStringLiteral("Ayuda"));
        QCOMPARE(actionCaptions(w.SM_Help), QStringList({"Jugar", "Acerca de ..."}));

        QCOMPARE(w.CmbStart->text(), QStringLiteral("Sacar número"));
        QCOMPARE(w.CmbNuevo->text(), QStringLiteral("Nueva partida"));
        QCOMPARE(w.CmbImprimir->text(), QStringLiteral("Imprimir cartones"));
        QVERIFY(w.CmbStart->isEnabled() && w.CmbNuevo->isEnabled() && w.CmbImprimir->isEnabled());
        QCOMPARE(w.HscInterval->minimum(), 4);
        QCOMPARE(w.HscInterval->maximum(), 10);
        QCOMPARE(w.HscInterval->value(), 6);
        QCOMPARE(w.LblDelay->text(), QStringLiteral("3"));
        QCOMPARE(w.LblNumEnJuego->text(), QString());
        QVERIFY(w.ModoAutomatico);

        for (int n = 1; n <= 90; ++n) {
            QLabel *label = w.LblNumero[static_cast<std::size_t>(n)];
            QCOMPARE(label->text(), QString::number(n));
            QCOMPARE(foreColour(label), FrmBingo::colourNotDrawn);
            QVERIFY(!label->autoFillBackground());
        }
        // The last board number sits at the bottom right of the board panel.
        const Control &last = w.control(QStringLiteral("LblNumero(90)"));
        QCOMPARE(QPointF(*last.props.left, *last.props.top), QPointF(5640, 5160));
        QCOMPARE(w.LblNumero[90]->pos(), QPoint(376 + w.Picture1->frameWidth(), 344 + w.Picture1->frameWidth()));

        QCOMPARE(w.Timer1->interval(), 60000);
        QVERIFY(w.Timer1->isActive());
        QCOMPARE(QDir::currentPath(), QDir(QStringLiteral(CANTABOLA_PROGRAM_DIR)).absolutePath());
    }

    void numberDisplayIsCentredOnTheLargeBallInFrontOfIt()
    {
        Started s(ScreenInfo::fromPixels(1024, 768, 15));
        FrmBingo &w = *s.window;
        const Control &big = w.control(QStringLiteral("ImgBolaGrande"));
        const Control &number = w.control(QStringLiteral("LblNumEnJuego"));
        QCOMPARE(*number.props.left + *number.props.width / 2, *big.props.left + *big.props.width / 2);
        QCOMPARE(*number.props.top + *number.props.height / 2, *big.props.top + *big.props.height / 2);
        // Stacking: the number over the ball over the title; the balls behind the board numbers.
        const QObjectList &panel3 = w.Picture3->children();
        QVERIFY(panel3.indexOf(w.LblNumEnJuego) > panel3.indexOf(w.ImgBolaGrande));
        QVERIFY(panel3.indexOf(w.ImgBolaGrande) > panel3.indexOf(w.ImgTitulo));
        const QObjectList &panel1 = w.Picture1->children();
        QVERIFY(panel1.indexOf(w.LblNumero[37]) > panel1.indexOf(w.ImgBola[37]));
        const QObjectList &panel2 = w.Picture2->children();
        QVERIFY(panel2.indexOf(w.CmbStart) > panel2.indexOf(w.LblDelay));
        QVERIFY(panel2.indexOf(w.HscInterval) > panel2.indexOf(w.LblDelay));
    }

    void boardShowsOnlyFirstAndLastNumberBeforeStartUp()
    {
        FakePlatform fake;
        ScaleValues scale;
        FrmBingo w(fake.platform, scale);
        for (int n = 1; n <= 90; ++n) {
            const QString expected = (n == 1 || n == 90) ? QString::number(n) : QString();
            QCOMPARE(w.LblNumero[static_cast<std::size_t>(n)]->text(), expected);
        }
        QCOMPARE(w.windowTitle(), QStringLiteral("Cantabola"));
        QVERIFY(!w.ajustado());
        QCOMPARE(w.NumberOfCards, std::uint8_t(0));
    }

    void firstBannerCounterIsOddAndSeededFromTheClock_data()
    {
        QTest::addColumn<double>("r");
        QTest::addColumn<int>("counter");
        QTest::newRow("0") << 0.0 << 1;
        QTest::newRow("0.124") << 0.124 << 1;
        QTest::newRow("0.125") << 0.125 << 3;
        QTest::newRow("0.5") << 0.5 << 9;
        QTest::newRow("0.999") << 0.999 << 15;
    }
    void firstBannerCounterIsOddAndSeededFromTheClock()
    {
        QFETCH(double, r);
        QFETCH(int, counter);
        FakePlatform fake;
        fake.clock.now = 3723.5;
        fake.random.scripted = {r};
        ScaleValues scale;
        FrmBingo w(fake.platform, scale);
        QVERIFY(w.Load());
        QCOMPARE(w.BannerCounter, counter);
        QCOMPARE(fake.random.reseeds, std::vector<double>{3723.5});
        QVERIFY(w.BannerUrl.isEmpty());
    }

    void delayIsWrittenWithTheLocaleDecimalSeparator_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("caption");
        QTest::newRow("es 6") << "es_ES" << 6 << "3";
        QTest::newRow("es 5") << "es_ES" << 5 << "2,5";
        QTest::newRow("en 5") << "en_US" << 5 << "2.5";
        QTest::newRow("es 1") << "es_ES" << 1 << "0,5";
        QTest::newRow("en 10") << "en_GB" << 10 << "5";
    }
    void delayIsWrittenWithTheLocaleDecimalSeparator()
    {
        QFETCH(QString, locale);
        QFETCH(int, value);
        QFETCH(QString, caption);
        QCOMPARE(delayCaption(value, QLocale(locale)), caption);
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
