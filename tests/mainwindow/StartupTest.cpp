// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the main window's start-up on screens of every kind: the refusal of a screen too small, the
// window's size, place and scale, the board's balls and font, and what the finished window shows.

#include "platform/AppInfo.h"
#include "support/Rig.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QMenuBar>

using namespace cantabola;
using cantabola::testing::Rig;

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
        Rig s(ScreenInfo::fromPixels(width, height, twipsPerPixel));
        QVERIFY(!s.loaded);
        QCOMPARE(s.fake.messages.shown.size(), std::size_t(1));
        const Message &message = s.fake.messages.shown.front();
        QCOMPARE(message.text,
                 QStringLiteral("No es posible iniciar el programa a una resolución de pantalla tan "
                                "baja. Resolución mínima = 800 x 600"));
        QCOMPARE(message.title, QStringLiteral("Cantabola"));
        QCOMPARE(message.icon, MessageIcon::Critical);
        QCOMPARE(message.buttons, MessageButtons::Ok);
        QCOMPARE(s.fake.process.ended, 1);
        QVERIFY(!s.window().isVisible());
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
        QTest::newRow("800x600 at 12")
            << 800 << 600 << 12.0F << true << 1.25F << QRectF(0, 0, 9600, 7200) << 14.4F;
        QTest::newRow("800x600 at 15")
            << 800 << 600 << 15.0F << false << 1.0F << QRectF(0, 0, 12000, 9000) << 18.0F;
        QTest::newRow("641x480 at 15")
            << 641 << 480 << 15.0F << true << 1.2480499F << QRectF(0, 0, 9615, 7200) << 14.4225F;
        QTest::newRow("1024x768 at 15")
            << 1024 << 768 << 15.0F << false << 1.0F << QRectF(1680, 1260, 12000, 9000) << 18.0F;
        QTest::newRow("1024x768 at 12")
            << 1024 << 768 << 12.0F << true << 1.25F << QRectF(0, 0, 12288, 9216) << 14.4F;
        QTest::newRow("1280x1024 at 15")
            << 1280 << 1024 << 15.0F << true << 0.625F << QRectF(0, 0, 19200, 15360) << 28.8F;
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
        Rig s(ScreenInfo::fromPixels(width, height, twipsPerPixel));
        FrmBingo &w = s.window();
        QVERIFY(s.loaded);
        QVERIFY(s.fake.messages.shown.empty());
        QVERIFY(w.isVisible());
        QCOMPARE(w.ajustado(), adjusted);
        QCOMPARE(w.scale().ScaleX, scaleX);
        const ScalableProps &props = w.windowProps();
        QCOMPARE(QRectF(*props.left, *props.top, *props.width, *props.height), windowTwips);
        // The window itself, in pixels of this screen.
        QCOMPARE(w.frameGeometry(),
                 QRect(qRound(windowTwips.left() / twipsPerPixel), qRound(windowTwips.top() / twipsPerPixel),
                       qRound(windowTwips.width() / twipsPerPixel),
                       qRound(windowTwips.height() / twipsPerPixel)));
        // The menus keep the desktop's menu font whatever the screen.
        QCOMPARE(w.menuBar()->font(), QApplication::font(w.menuBar()));
        for (int n = 1; n <= 90; ++n) {
            QCOMPARE(*w.control(QStringLiteral("LblNumero(%1)").arg(n)).props.fontSize, boardFont);
            QCOMPARE(s.boardLabel(n)->text(), QString::number(n));
            QVERIFY(s.boardLabel(n)->font().bold());
        }
    }

    void ballsSitBehindTheirNumbers_data()
    {
        QTest::addColumn<float>("twipsPerPixel");
        QTest::newRow("design screen: centred") << 15.0F;
        QTest::newRow("1024 at 12: offset by the difference over 2.5, stretched") << 12.0F;
    }
    void ballsSitBehindTheirNumbers()
    {
        QFETCH(float, twipsPerPixel);
        Rig s(ScreenInfo::fromPixels(1024, 768, twipsPerPixel));
        FrmBingo &w = s.window();
        const float divisor = twipsPerPixel == 15.0F ? 2.0F : 2.5F;
        for (int n = 1; n <= 90; ++n) {
            const Control &label = w.control(QStringLiteral("LblNumero(%1)").arg(n));
            const Control &ball = w.control(QStringLiteral("ImgBola(%1)").arg(n));
            QVERIFY(qAbs(*ball.props.left
                         - (*label.props.left + (*label.props.width - *ball.props.width) / divisor))
                    < 0.01F);
            QVERIFY(ball.widget->isVisible());
            QCOMPARE(qobject_cast<QLabel *>(ball.widget)->hasScaledContents(), twipsPerPixel == 12.0F);
            // Drawn behind its number.
            const QObjectList &board = w.findChild<QFrame *>(QStringLiteral("Picture1"))->children();
            QVERIFY(board.indexOf(label.widget) > board.indexOf(ball.widget));
        }
        // The background picture is stretched over the inner area on the one screen that asks for it.
        QCOMPARE(w.stretchedBackground(), twipsPerPixel == 12.0F ? w.centralWidget()->size() : QSize());
    }

    void finishedWindowShowsCaptionEmptyNumberAndDelay()
    {
        Rig s;
        FrmBingo &w = s.window();
        QCOMPARE(w.windowTitle(), QStringLiteral("CANTABOLA Versión ") + app::versionText());
        QCOMPARE(s.bigNumber(), QString());
        // The delay has no colour of its own: the desktop's text colour.
        QCOMPARE(s.find<QLabel>("LblDelay")->text(), QStringLiteral("3"));
        QCOMPARE(s.find<QLabel>("LblDelay")->palette().color(QPalette::WindowText),
                 QApplication::palette().color(QPalette::WindowText));
        QVERIFY(s.start()->isEnabled() && s.callingControls(true));
        QVERIFY(s.action("SM_Auto")->isChecked() && s.action("SM_Voice")->isChecked());
        QVERIFY(s.boardAgreesWithGame()); // nothing out: every number in the colour of one not drawn
        // The number display sits in the middle of the large ball, in front of it.
        const Control &big = w.control(QStringLiteral("ImgBolaGrande"));
        const Control &number = w.control(QStringLiteral("LblNumEnJuego"));
        QCOMPARE(*number.props.left + *number.props.width / 2, *big.props.left + *big.props.width / 2);
        QCOMPARE(*number.props.top + *number.props.height / 2, *big.props.top + *big.props.height / 2);
        const QObjectList &panel = w.findChild<QFrame *>(QStringLiteral("Picture3"))->children();
        QVERIFY(panel.indexOf(number.widget) > panel.indexOf(big.widget));
        // Sounds and help are found in the program's folder.
        QCOMPARE(QDir::currentPath(), QDir(QStringLiteral(CANTABOLA_PROGRAM_DIR)).absolutePath());
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
