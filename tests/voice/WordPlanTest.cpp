// SPDX-License-Identifier: GPL-3.0-or-later
// Protects which recorded words DecirNumero plays for a number, and in which play mode, as the Spanish name
// says it: "quince" a word of its own, "dieciséis" the tens word dieci.wav played to its end then 6.wav,
// "treinta y cuatro" treintay.wav then 4.wav; one number of every ten, and each edge between one word and
// two.

#include "support/FakePlatform.h"
#include "voice/DecirNumero.h"

#include <QTest>

using namespace cantabola;

// A number and its words, file/mode: 16 SyncNoStop, 1 Async.
// clang-format off
const std::pair<int, const char *> rows[] = {
    {1, "1.wav/1"}, {9, "9.wav/1"}, {10, "10.wav/1"}, {15, "15.wav/1"}, {16, "dieci.wav/16 6.wav/1"},
    {19, "dieci.wav/16 9.wav/1"}, {20, "20.wav/1"}, {21, "veinti.wav/16 1.wav/1"}, {30, "30.wav/1"},
    {34, "treintay.wav/16 4.wav/1"}, {45, "cuarentay.wav/16 5.wav/1"}, {50, "50.wav/1"},
    {56, "cincuentay.wav/16 6.wav/1"}, {67, "sesentay.wav/16 7.wav/1"}, {78, "setentay.wav/16 8.wav/1"},
    {81, "ochentay.wav/16 1.wav/1"}, {89, "ochentay.wav/16 9.wav/1"}, {90, "90.wav/1"},
    {0, ""}, {91, ""}, {-34, ""}};
// clang-format on

class WordPlanTest : public QObject
{
    Q_OBJECT

private slots:
    void eachNumberIsSaidByTheWordsOfItsName_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("words");
        for (const auto &[n, words] : rows)
            QTest::addRow("%d", n) << n << QString::fromLatin1(words);
    }
    void eachNumberIsSaidByTheWordsOfItsName()
    {
        QFETCH(int, n);
        QFETCH(QString, words);
        QStringList played;
        testing::FakeSound sound;
        DecirNumero(sound, n);
        for (const auto &[file, mode] : sound.played)
            played << QStringLiteral("%1/%2").arg(file).arg(int(mode));
        QCOMPARE(played.join(' '), words);
    }
};

QTEST_GUILESS_MAIN(WordPlanTest)
#include "WordPlanTest.moc"
