// Which files say each number, checked against the Spanish names of the numbers rather than against the
// arithmetic of the code: the expected files of a number are read off its written name ("treinta y cinco"
// is the tens word "treintay" and the word of "cinco"; "dieciséis" is "dieci" and "seis"; "quince" is a word
// of its own). Also DecirNumero through a recording Sound.

#include "WordPlan.h"
#include "DecirNumero.h"
#include "FakePlatform.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace cantabola;

namespace {

// The numbers 1 to 90 as written in Spanish, ten to a line.
// clang-format off
const char *const spanishNames[90] = {
    "uno", "dos", "tres", "cuatro", "cinco", "seis", "siete", "ocho", "nueve", "diez",
    "once", "doce", "trece", "catorce", "quince", "dieciséis", "diecisiete", "dieciocho", "diecinueve", "veinte",
    "veintiuno", "veintidós", "veintitrés", "veinticuatro", "veinticinco", "veintiséis", "veintisiete",
        "veintiocho", "veintinueve", "treinta",
    "treinta y uno", "treinta y dos", "treinta y tres", "treinta y cuatro", "treinta y cinco", "treinta y seis",
        "treinta y siete", "treinta y ocho", "treinta y nueve", "cuarenta",
    "cuarenta y uno", "cuarenta y dos", "cuarenta y tres", "cuarenta y cuatro", "cuarenta y cinco",
        "cuarenta y seis", "cuarenta y siete", "cuarenta y ocho", "cuarenta y nueve", "cincuenta",
    "cincuenta y uno", "cincuenta y dos", "cincuenta y tres", "cincuenta y cuatro", "cincuenta y cinco",
        "cincuenta y seis", "cincuenta y siete", "cincuenta y ocho", "cincuenta y nueve", "sesenta",
    "sesenta y uno", "sesenta y dos", "sesenta y tres", "sesenta y cuatro", "sesenta y cinco", "sesenta y seis",
        "sesenta y siete", "sesenta y ocho", "sesenta y nueve", "setenta",
    "setenta y uno", "setenta y dos", "setenta y tres", "setenta y cuatro", "setenta y cinco", "setenta y seis",
        "setenta y siete", "setenta y ocho", "setenta y nueve", "ochenta",
    "ochenta y uno", "ochenta y dos", "ochenta y tres", "ochenta y cuatro", "ochenta y cinco", "ochenta y seis",
        "ochenta y siete", "ochenta y ocho", "ochenta y nueve", "noventa",
};
// clang-format on

QString plain(const char *name)
{
    QString text = QString::fromUtf8(name).normalized(QString::NormalizationForm_D);
    text.remove(QRegularExpression(QStringLiteral("\\p{Mn}"))); // the accents
    return text;
}

// The number 1 to 9 whose name is word ("seis" is 6).
int unitOf(const QString &word)
{
    for (int n = 1; n <= 9; ++n) {
        if (plain(spanishNames[n - 1]) == word)
            return n;
    }
    return -1;
}

using Played = std::vector<std::pair<QString, PlayMode>>;

// What saying n takes, read off its Spanish name: a name of one word that is not a compound of "dieci-" or
// "veinti-" has a file of its own, played at once; a compound is its opening, played to its end, then the
// word of its units.
Played expectedFromName(int n)
{
    const QString name = plain(spanishNames[n - 1]);
    const auto compound = [](const QString &tensFile, const QString &unitsWord) {
        return Played{{tensFile, PlayMode::SyncNoStop},
                      {QString::number(unitOf(unitsWord)) + QStringLiteral(".wav"), PlayMode::Async}};
    };
    if (name.contains(QStringLiteral(" y "))) {
        const QStringList parts = name.split(QStringLiteral(" y "));
        return compound(parts[0] + QStringLiteral("y.wav"), parts[1]);
    }
    for (const QString &opening : {QStringLiteral("dieci"), QStringLiteral("veinti")}) {
        if (name.startsWith(opening))
            return compound(opening + QStringLiteral(".wav"), name.mid(opening.size()));
    }
    return {{QString::number(n) + QStringLiteral(".wav"), PlayMode::Async}};
}

Played asPlayed(const std::vector<Word> &plan)
{
    Played played;
    for (const Word &word : plan)
        played.emplace_back(QString::fromStdString(word.file), word.mode);
    return played;
}

QString describe(const Played &played)
{
    QStringList parts;
    for (const auto &[file, mode] : played)
        parts << QStringLiteral("%1/%2").arg(file).arg(int(mode));
    return QStringLiteral("[") + parts.join(QStringLiteral(", ")) + QStringLiteral("]");
}

} // namespace

class WordPlanTest : public QObject
{
    Q_OBJECT

private slots:
    void theOracleReadsTheNames()
    {
        // The reading of the names itself, on the examples.
        QCOMPARE(unitOf(QStringLiteral("seis")), 6);
        QCOMPARE(describe(expectedFromName(7)), QStringLiteral("[7.wav/1]"));
        QCOMPARE(describe(expectedFromName(15)), QStringLiteral("[15.wav/1]"));
        QCOMPARE(describe(expectedFromName(16)), QStringLiteral("[dieci.wav/16, 6.wav/1]"));
        QCOMPARE(describe(expectedFromName(35)), QStringLiteral("[treintay.wav/16, 5.wav/1]"));
        QCOMPARE(describe(expectedFromName(80)), QStringLiteral("[80.wav/1]"));
        QCOMPARE(describe(expectedFromName(89)), QStringLiteral("[ochentay.wav/16, 9.wav/1]"));
    }

    void everyNumberFromOneToNinety()
    {
        for (int n = 1; n <= 90; ++n) {
            const Played expected = expectedFromName(n);
            const Played actual = asPlayed(wordPlan(n));
            QVERIFY2(actual == expected,
                     qPrintable(QStringLiteral("%1 (%2): expected %3, planned %4")
                                    .arg(n)
                                    .arg(QString::fromUtf8(spanishNames[n - 1]))
                                    .arg(describe(expected), describe(actual))));
        }
    }

    void numbersOutsideTheGameSayNothing()
    {
        for (int n : {0, -5, -1, 91, 99, 100, 32767, -32768})
            QVERIFY2(wordPlan(n).empty(), qPrintable(QString::number(n)));
    }

    void twoWordNumbersAreExactlyTheCompounds()
    {
        QSet<int> compounds;
        for (int tens = 1; tens <= 8; ++tens) {
            for (int units = tens == 1 ? 6 : 1; units <= 9; ++units)
                compounds.insert(tens * 10 + units);
        }
        QCOMPARE(compounds.size(), 4 + 7 * 9);
        for (int n = 1; n <= 90; ++n) {
            const std::vector<Word> plan = wordPlan(n);
            if (compounds.contains(n)) {
                QVERIFY2(plan.size() == 2, qPrintable(QString::number(n)));
                QCOMPARE(plan[0].mode, PlayMode::SyncNoStop);
                QCOMPARE(plan[1].mode, PlayMode::Async);
            } else {
                QVERIFY2(plan.size() == 1, qPrintable(QString::number(n)));
                QCOMPARE(plan[0].mode, PlayMode::Async);
            }
        }
    }

    void noNumberUsesAUnitsFileOfZero()
    {
        for (int n = 1; n <= 90; ++n) {
            for (const Word &word : wordPlan(n))
                QVERIFY2(word.file != "0.wav", qPrintable(QString::number(n)));
        }
    }

    void theFilesUsedAreTheThirtyOneWords()
    {
        QSet<QString> used;
        for (int n = 1; n <= 90; ++n) {
            for (const Word &word : wordPlan(n))
                used.insert(QString::fromStdString(word.file));
        }
        // 15 numbers, 8 round tens and 8 tens words.
        QSet<QString> words;
        for (int n = 1; n <= 15; ++n)
            words.insert(QString::number(n) + QStringLiteral(".wav"));
        for (int n = 20; n <= 90; n += 10)
            words.insert(QString::number(n) + QStringLiteral(".wav"));
        for (const char *tens :
             {"dieci", "veinti", "treintay", "cuarentay", "cincuentay", "sesentay", "setentay", "ochentay"})
            words.insert(QLatin1String(tens) + QStringLiteral(".wav"));
        QCOMPARE(words.size(), 31);
        QCOMPARE(used, words);
    }

    void decirNumeroPlaysThePlan()
    {
        for (int n = -5; n <= 95; ++n) {
            testing::FakeSound sound;
            DecirNumero(sound, n);
            const Played expected = n >= 1 && n <= 90 ? expectedFromName(n) : Played{};
            QVERIFY2(sound.played == expected,
                     qPrintable(QStringLiteral("%1: %2").arg(n).arg(describe(sound.played))));
        }
    }
};

QTEST_GUILESS_MAIN(WordPlanTest)
#include "WordPlanTest.moc"
