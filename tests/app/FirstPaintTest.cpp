// Work put off until the main window is up (loading the sound library) runs once, after the window's first
// paint, and never again: not before the window shows, not at every repaint.

#include "Cantabola.h"
#include "FakePlatform.h"
#include "FrmBingo.h"

#include <QEvent>
#include <QTest>

using namespace cantabola;

namespace {

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject * /*watched*/, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class FirstPaintTest : public QObject
{
    Q_OBJECT

private slots:
    void putOffWorkRunsOnceAfterTheFirstPaint()
    {
        testing::FakePlatform fake;
        Cantabola program(fake.platform);
        PaintCounter counter;
        program.window().centralWidget()->installEventFilter(&counter);
        int runs = 0;
        int paintsBeforeRun = -1;
        program.afterFirstPaint([&] {
            ++runs;
            paintsBeforeRun = counter.paints;
        });
        QCoreApplication::processEvents();
        QCOMPARE(runs, 0);

        QVERIFY(program.start());
        QVERIFY(QTest::qWaitForWindowExposed(&program.window()));
        QTRY_COMPARE(runs, 1);
        QVERIFY(paintsBeforeRun >= 1);

        program.window().centralWidget()->repaint();
        program.window().hide();
        program.window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&program.window()));
        QTest::qWait(50);
        QCOMPARE(runs, 1);
    }
};

QTEST_MAIN(FirstPaintTest)
#include "FirstPaintTest.moc"
