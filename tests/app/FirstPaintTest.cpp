// Protects the work put off until the main window is up (loading the sound library): it runs once, after the
// window's first paint, and never again: not before the window shows, not at a later repaint or show.

#include "Rig.h"

#include <QEvent>

using namespace cantabola;

class FirstPaintTest : public QObject
{
    Q_OBJECT

private slots:
    void putOffWorkRunsOnceAfterTheFirstPaint()
    {
        testing::Rig rig(ScreenInfo::fromPixels(1024, 768, 15), false);
        QWidget *area = rig.window().centralWidget();
        int runs = 0, paintsBeforeRun = -1;
        struct : QObject
        {
            int paints = 0;
            bool eventFilter(QObject *, QEvent *event) override
            {
                paints += event->type() == QEvent::Paint;
                return false;
            }
        } counter;
        area->installEventFilter(&counter);
        rig.program->afterFirstPaint([&] {
            ++runs;
            paintsBeforeRun = counter.paints;
        });
        QCoreApplication::processEvents();
        QCOMPARE(runs, 0);

        QVERIFY(rig.program->start());
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window()));
        QTRY_COMPARE(runs, 1);
        QVERIFY(paintsBeforeRun >= 1);

        area->repaint();
        rig.window().hide();
        rig.window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window()));
        QTest::qWait(50);
        QCOMPARE(runs, 1);
        area->removeEventFilter(&counter);
    }
};

QTEST_MAIN(FirstPaintTest)
#include "FirstPaintTest.moc"
