// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the answers of the real message boxes: a question is answered by Sí or No only, in that order,
// Sí by Enter; Escape and the close box leave it standing. A box with one OK button closes on Escape as OK.

#include "platform/RealPlatform.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace cantabola;

namespace {

// Shows a box and, once it is up, lets act() answer it; returns the answer and what act() found.
MessageAnswer answer(MessageButtons buttons, const std::function<void(QMessageBox &)> &act)
{
    QTimer::singleShot(0, [act] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        act(*box);
    });
    QtMessageBoxes boxes;
    return boxes.show(nullptr,
                      {QStringLiteral("Partida concluída. ¿Otra partida?"), QStringLiteral("Cantabola"),
                       MessageIcon::Question, buttons});
}

// The box's buttons from left to right, by caption.
QStringList buttonsLeftToRight(QMessageBox &box)
{
    QList<QAbstractButton *> buttons = box.buttons();
    std::sort(buttons.begin(), buttons.end(),
              [](auto *a, auto *b) { return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x(); });
    QStringList captions;
    for (QAbstractButton *button : buttons)
        captions << button->text();
    return captions;
}

} // namespace

class MessageBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void questionIsAnsweredBySiOrNoOnly_data()
    {
        QTest::addColumn<bool>("enter");
        QTest::addColumn<MessageAnswer>("expected");
        QTest::newRow("Enter: Sí") << true << MessageAnswer::Yes;
        QTest::newRow("the button No") << false << MessageAnswer::No;
    }
    void questionIsAnsweredBySiOrNoOnly()
    {
        QFETCH(bool, enter);
        QFETCH(MessageAnswer, expected);
        QStringList order;
        bool outlivedEscapeAndClose = false;
        const MessageAnswer given = answer(MessageButtons::YesNo, [&](QMessageBox &box) {
            order = buttonsLeftToRight(box);
            QTest::keyClick(&box, Qt::Key_Escape);
            box.close();
            outlivedEscapeAndClose = box.isVisible();
            if (enter)
                QTest::keyClick(&box, Qt::Key_Return);
            else
                box.buttons().at(order.indexOf(QStringLiteral("&No")))->click();
        });
        QCOMPARE(order, (QStringList{QStringLiteral("&Sí"), QStringLiteral("&No")}));
        QVERIFY(outlivedEscapeAndClose);
        QCOMPARE(given, expected);
    }

    void singleOkBoxClosesOnEscape()
    {
        QStringList order;
        const MessageAnswer given = answer(MessageButtons::Ok, [&](QMessageBox &box) {
            order = buttonsLeftToRight(box);
            QTest::keyClick(&box, Qt::Key_Escape);
        });
        QCOMPARE(order.size(), 1);
        QCOMPARE(given, MessageAnswer::Ok);
    }
};

QTEST_MAIN(MessageBoxTest)
#include "MessageBoxTest.moc"
