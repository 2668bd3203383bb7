// Protects which recorded words say each number, and in which play mode, read off the numbers' Spanish names
// rather than their arithmetic: "treinta y cuatro" is the tens word treintay.wav to its end, then 4.wav;
// "dieciséis" is dieci.wav then 6.wav; "quince" is a word of its own. Through wordPlan and DecirNumero.

#include "WordPlan.h"
#include "DecirNumero.h"
#include "FakePlatform.h"

#include <QRegularExpression>
#include <QTest>

using namespace cantabola;
using Played = std::vector<std::pair<QString, PlayMode>>;

namespace {

// clang-format off
const char *const names[90] = {
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

QString plainName(int n) // without accents: "dieciséis" is "dieciseis"
{
    QString text = QString::fromUtf8(names[n - 1]).normalized(QString::NormalizationForm_D);
    return text.remove(QRegularExpression(QStringLiteral("\\p{Mn}")));
}

// A compound name is its opening, played to its end, then the file of the number its units word names.
Played fromName(int n)
{
    const QString name = plainName(n);
    const auto compound = [](const QString &opening, const QString &units) {
        int u = 1;
        while (u < 10 && plainName(u) != units)
            ++u;
        return Played{{opening + QStringLiteral(".wav"), PlayMode::SyncNoStop},
                      {QStringLiteral("%1.wav").arg(u), PlayMode::Async}};
    };
    if (name.contains(QStringLiteral(" y ")))
        return compound(name.section(QLatin1Char(' '), 0, 0) + QLatin1Char('y'), name.section(' ', 2));
    for (const QString &opening : {QStringLiteral("dieci"), QStringLiteral("veinti")}) {
        if (name.startsWith(opening))
            return compound(opening, name.mid(opening.size()));
    }
    return {{QStringLiteral("%1.wav").arg(n), PlayMode::Async}};
}

QString text(const Played &played)
{
    QStringList parts;
    for (const auto &[file, mode] : played)
        parts << QStringLiteral("%1/%2").arg(file).arg(int(mode));
    return parts.join(QStringLiteral(", "));
}

} // namespace

class WordPlanTest : public QObject
{
    Q_OBJECT

private slots:
    void everyNumberIsSaidByTheWordsOfItsName()
    {
        QCOMPARE(text(fromName(34)), QStringLiteral("treintay.wav/16, 4.wav/1"));
        for (int n = -5; n <= 95; ++n) {
            const Played expected = n >= 1 && n <= 90 ? fromName(n) : Played{};
            Played planned;
            for (const Word &word : wordPlan(n))
                planned.emplace_back(QString::fromStdString(word.file), word.mode);
            testing::FakeSound sound;
            DecirNumero(sound, n);
            const QByteArray why = QStringLiteral("%1: expected %2, planned %3, played %4")
                                       .arg(n)
                                       .arg(text(expected), text(planned), text(sound.played))
                                       .toUtf8();
            QVERIFY2(planned == expected && sound.played == expected, why.constData());
        }
    }
};

QTEST_GUILESS_MAIN(WordPlanTest)
#include "WordPlanTest.moc"
