// The about window, opened from the real main window's help menu and driven as a person would: what it
// shows, the sound at every opening, Enter, Esc and "Aceptar" closing it, the link to the authors' page and
// the pointing hand over that link only.

#include "AppInfo.h"
#include "Banner.h"
#include "Colour.h"
#include "FakePlatform.h"
#include "FrmAbout.h"
#include "FrmBingo.h"
#include "WebAddress.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace cantabola;
using cantabola::testing::FakePlatform;

namespace {

struct MainRig
{
    explicit MainRig(float twipsPerPixel = 15)
    {
        fake.screen.info = ScreenInfo::fromPixels(1024, 768, twipsPerPixel);
        window = std::make_unique<FrmBingo>(fake.platform, scale);
        installAboutWindow(*window);
        installBanner(*window);
        QVERIFY(window->Load());
    }

    frmAbout *openAbout() const { return window->findChild<frmAbout *>(); }

    // Chooses "Acerca de ...", runs whileOpen on the modal about window, and returns once the menu's handler
    // has returned. A window the test leaves open is closed after a few seconds, so that no test hangs.
    void chooseAboutAnd(const std::function<void(frmAbout &)> &whileOpen)
    {
        bool ran = false;
        QTimer::singleShot(0, window.get(), [&] {
            ran = true;
            auto *about = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
            QVERIFY(about);
            QCOMPARE(about, openAbout());
            whileOpen(*about);
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [this] {
            if (frmAbout *about = openAbout())
                about->done(QDialog::Rejected);
        });
        guard.start(5000);
        window->SM_AcercaDe->trigger();
        QVERIFY(ran);
        QVERIFY2(guard.isActive(), "the about window was left open");
    }

    FakePlatform fake;
    ScaleValues scale;
    std::unique_ptr<FrmBingo> window;
};

QPoint centreOf(const QWidget *control)
{
    return control->geometry().center();
}

QWidget *widgetAt(frmAbout &about, QPoint point)
{
    QWidget *child = about.childAt(point);
    return child ? child : &about;
}

bool showsHand(const QWidget *widget)
{
    const QCursor cursor = widget->cursor();
    return cursor.shape() == Qt::BitmapCursor && cursor.pixmap().size() == QSize(32, 32)
        && cursor.hotSpot() == QPoint(frmAbout::handHotX, frmAbout::handHotY);
}

bool containsColour(const QImage &image, const QColor &colour)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour)
                return true;
        }
    }
    return false;
}

} // namespace

class AboutWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void itShowsTheTitleVersionDescriptionAndLink()
    {
        MainRig rig;
        rig.chooseAboutAnd([](frmAbout &about) {
            QCOMPARE(about.windowTitle(), QStringLiteral("Acerca de Cantabola"));
            QCOMPARE(about.lblTitle->text(), QStringLiteral("Cantabola"));
            QCOMPARE(about.lblVersion->text(), QStringLiteral("Versión 2.0.0"));
            QCOMPARE(about.lblDescription->text(),
                     QStringLiteral(
                         "Cantabola 2001 es un juego totalmente gratuito para el entretenimiento de toda "
                         "la familia. Para más información sobre juegos shareware y freeware visita mi "
                         "página pinchando en el enlace de abajo."));
            QVERIFY(about.lblDescription->wordWrap());
            QCOMPARE(about.cmdOK->text(), QStringLiteral("Aceptar"));
            QCOMPARE(about.Label1->text(), authorsWebAddress());
            QCOMPARE(about.Image1->pixmap().size(), QSize(52, 53));

            QCOMPARE(about.Label1->font().family(), QStringLiteral("Verdana"));
            QVERIFY(about.Label1->font().bold());
            QCOMPARE(foreColour(about.Label1), 0x000000C0U);
            QCOMPARE(about.lblTitle->font().family(), QStringLiteral("Arial"));
            QVERIFY(about.lblTitle->font().bold());
            QCOMPARE(foreColour(about.lblTitle), 0x000000C0U);

            // What is on the screen: the red link, the grey line and the white line below it.
            const QImage seen = about.grab().toImage();
            QVERIFY(containsColour(seen.copy(about.Label1->geometry()), QColor(0xC0, 0, 0)));
            QCOMPARE(seen.pixelColor(200, 2520 / 15), QColor(0x80, 0x80, 0x80));
            QCOMPARE(seen.pixelColor(200, 2625 / 15), QColor(Qt::white));
            QCOMPARE(seen.pixelColor(200, 2625 / 15 + 1), QColor(Qt::white));

            about.cmdOK->click();
        });
        // The main window's caption keeps the title in capitals.
        QCOMPARE(rig.window->windowTitle(), QStringLiteral("CANTABOLA Versión 2.0.0"));
    }

    void itIsAFixedModalDialogOfItsDesignSize_data()
    {
        QTest::addColumn<float>("twipsPerPixel");
        QTest::newRow("96 dpi") << 15.0F;
        QTest::newRow("120 dpi") << 12.0F;
    }
    void itIsAFixedModalDialogOfItsDesignSize()
    {
        QFETCH(float, twipsPerPixel);
        MainRig rig(twipsPerPixel);
        rig.chooseAboutAnd([twipsPerPixel](frmAbout &about) {
            const auto px = [twipsPerPixel](double twips) {
                return qRound(twips / twipsPerPixel);
            };
            QCOMPARE(about.windowModality(), Qt::ApplicationModal);
            QCOMPARE(about.windowType(), Qt::Dialog);
            QVERIFY(!(about.windowFlags() & Qt::WindowMinimizeButtonHint));
            QVERIFY(!(about.windowFlags() & Qt::WindowMaximizeButtonHint));
            QVERIFY(about.windowFlags() & Qt::WindowCloseButtonHint);
            QCOMPARE(about.size(), QSize(px(5940), px(3555)));
            QCOMPARE(about.minimumSize(), about.maximumSize());
            QCOMPARE(about.cmdOK->geometry(), QRect(px(4515), px(2940), px(1185), px(450)));
            QCOMPARE(about.Label1->geometry(), QRect(px(240), px(2940), px(4155), px(330)));
            QCOMPARE(about.lblTitle->geometry(), QRect(px(1050), px(240), px(3885), px(480)));
            QCOMPARE(about.Line1[1]->geometry().top(), px(2520));
            QCOMPARE(about.Line1[0]->geometry().top(), px(2625));
            QVERIFY(about.cmdOK->isDefault());
            about.cmdOK->click();
        });
    }

    void enterEscapeAndAceptarCloseIt_data()
    {
        QTest::addColumn<int>("key"); // 0: a click on "Aceptar"
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Enter on the keypad") << int(Qt::Key_Enter);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("click on Aceptar") << 0;
    }
    void enterEscapeAndAceptarCloseIt()
    {
        QFETCH(int, key);
        MainRig rig;
        rig.chooseAboutAnd([key](frmAbout &about) {
            QTRY_VERIFY(about.isActiveWindow());
            if (key == 0) {
                QTest::mouseClick(about.cmdOK, Qt::LeftButton);
                return;
            }
            QWidget *focus = QApplication::focusWidget();
            QCOMPARE(focus, about.cmdOK);
            QTest::keyClick(focus, static_cast<Qt::Key>(key));
        });
        // Closed is gone: the next opening builds the window afresh.
        QVERIFY(!rig.openAbout());
        QVERIFY(rig.window->isVisible());
    }

    void everyOpeningPlaysTheSoundAndShowsTheSameTexts()
    {
        MainRig rig;
        QStringList versions;
        for (int opening = 1; opening <= 2; ++opening) {
            rig.chooseAboutAnd([&](frmAbout &about) {
                QCOMPARE(rig.fake.sound.played.size(), std::size_t(opening));
                versions << about.lblVersion->text() + " " + about.lblTitle->text();
                QTest::keyClick(&about, Qt::Key_Escape);
            });
        }
        const std::pair<QString, PlayMode> pac {QStringLiteral("pac.wav"), PlayMode::Async};
        QCOMPARE(rig.fake.sound.played, (std::vector<std::pair<QString, PlayMode>> {pac, pac}));
        QCOMPARE(versions, QStringList({"Versión 2.0.0 Cantabola", "Versión 2.0.0 Cantabola"}));
    }

    void theLinkOpensTheAuthorsPageMaximisedAndTheWindowStays()
    {
        MainRig rig;
        rig.chooseAboutAnd([&rig](frmAbout &about) {
            QTest::mouseClick(about.Label1, Qt::LeftButton, {}, QPoint(10, 5));
            QCOMPARE(rig.fake.browser.opened.size(), std::size_t(1));
            QCOMPARE(rig.fake.browser.opened.front().first, QUrl(authorsWebAddress()));
            QCOMPARE(rig.fake.browser.opened.front().second, 3);
            QVERIFY(about.isVisible());

            // Clicks elsewhere, and a press on the link released away from it, open nothing.
            QTest::mouseClick(about.lblTitle, Qt::LeftButton);
            QTest::mouseClick(about.Image1, Qt::LeftButton);
            QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(2, 2));
            QTest::mousePress(about.Label1, Qt::LeftButton, {}, QPoint(10, 5));
            QTest::mouseRelease(about.Label1, Qt::LeftButton, {}, QPoint(10, -40));
            QCOMPARE(rig.fake.browser.opened.size(), std::size_t(1));

            QTest::mouseClick(about.Label1, Qt::LeftButton, {}, QPoint(10, 5));
            QCOMPARE(rig.fake.browser.opened.size(), std::size_t(2));
            QVERIFY(about.isVisible());
            about.cmdOK->click();
        });
    }

    void thePointingHandShowsOnlyOverTheLink()
    {
        MainRig rig;
        rig.chooseAboutAnd([](frmAbout &about) {
            QVERIFY(showsHand(widgetAt(about, centreOf(about.Label1))));
            QVERIFY(showsHand(widgetAt(about, about.Label1->geometry().topLeft())));
            const QList<QPoint> elsewhere {centreOf(about.lblTitle),
                                           centreOf(about.lblVersion),
                                           centreOf(about.lblDescription),
                                           centreOf(about.Image1),
                                           centreOf(about.cmdOK),
                                           QPoint(2, 2),
                                           about.Label1->geometry().topLeft() - QPoint(1, 1)};
            for (const QPoint &point : elsewhere)
                QVERIFY2(widgetAt(about, point)->cursor().shape() != Qt::BitmapCursor,
                         qPrintable(widgetAt(about, point)->objectName()));
            QVERIFY(!QApplication::overrideCursor());
            about.cmdOK->click();
        });
    }

    void aSecondRequestWhileOpenMakesNoSecondWindow()
    {
        MainRig rig;
        rig.chooseAboutAnd([&rig](frmAbout &about) {
            rig.window->SM_AcercaDe->trigger();
            QCOMPARE(rig.window->findChildren<frmAbout *>().size(), 1);
            QCOMPARE(rig.fake.sound.played.size(), std::size_t(1));
            about.cmdOK->click();
        });
    }
};

QTEST_MAIN(AboutWindowTest)
#include "AboutWindowTest.moc"
