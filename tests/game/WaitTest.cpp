// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the wait that keeps the window alive: events are served during it, handlers run nested inside
// it, and an outer wait ends only after a wait started inside it.

#include "platform/SystemSeams.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace cantabola;

class WaitTest : public QObject
{
    Q_OBJECT

private slots:
    void clickDuringTheWaitRunsItsHandlerInsideIt()
    {
        EventLoopWaiter waiter;
        QPushButton button;
        int clicks = 0;
        connect(&button, &QPushButton::clicked, [&] { ++clicks; });
        QTimer::singleShot(5, &button, [&] { button.click(); });
        waiter.waitDispatching(0.05);
        QCOMPARE(clicks, 1);
    }

    void waitLastsAtLeastTheRequestedTime()
    {
        EventLoopWaiter waiter;
        QElapsedTimer elapsed;
        elapsed.start();
        waiter.waitDispatching(0.03);
        QVERIFY(elapsed.nsecsElapsed() >= 30'000'000);
    }

    void outerWaitReturnsOnlyAfterTheInnerOne()
    {
        EventLoopWaiter waiter;
        bool innerDone = false;
        QTimer::singleShot(1, [&] {
            waiter.waitDispatching(0.05);
            innerDone = true;
        });
        waiter.waitDispatching(0.005);
        QVERIFY(innerDone);
    }

    void emptyOrNegativeWaitReturnsAtOnce()
    {
        EventLoopWaiter waiter;
        bool served = false;
        QTimer::singleShot(0, [&] { served = true; });
        waiter.waitDispatching(0);
        waiter.waitDispatching(-3);
        QVERIFY(!served); // nothing was dispatched: the wait did not run at all
    }
};

QTEST_MAIN(WaitTest)
#include "WaitTest.moc"
