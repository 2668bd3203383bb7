// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/ClaimCheck.h"

#include <QRegularExpression>
#include <algorithm>

namespace cantabola {

namespace {

// "1, 8, 60"
QString ascending(std::vector<int> numbers)
{
    std::sort(numbers.begin(), numbers.end());
    QStringList listed;
    for (const int n : numbers)
        listed << QString::number(n);
    return listed.join(QStringLiteral(", "));
}

} // namespace

ClaimVerdict checkClaim(const QString &typed, const std::function<bool(int)> &drawn)
{
    ClaimVerdict verdict;
    static const QRegularExpression digits(QStringLiteral("\\d+"));
    std::vector<int> missing;
    for (const QRegularExpressionMatch &match : digits.globalMatch(typed)) {
        const QString text = match.captured();
        bool ok = false;
        const int n = text.size() <= 3 ? text.toInt(&ok) : 0;
        if (!ok || n < 1 || n > 90) {
            return {{}, QStringLiteral("Número no válido: %1").arg(text)};
        }
        if (std::any_of(verdict.numbers.begin(), verdict.numbers.end(),
                        [n](auto c) { return c.number == n; }))
            continue;
        verdict.numbers.push_back({n, drawn(n)});
        if (!verdict.numbers.back().drawn)
            missing.push_back(n);
    }
    const auto count = static_cast<qsizetype>(verdict.numbers.size());
    if (count == 0) {
        verdict.summary = QStringLiteral("Escriba los números del cartón.");
    } else if (missing.empty()) {
        verdict.summary = count == 1
            ? QStringLiteral("Ha salido el número. Premio correcto.")
            : QStringLiteral("Han salido los %1 números. Premio correcto.").arg(count);
    } else {
        verdict.summary = (missing.size() == 1 ? QStringLiteral("Falta %1 de %2: %3")
                                               : QStringLiteral("Faltan %1 de %2: %3"))
                              .arg(missing.size())
                              .arg(count)
                              .arg(ascending(missing));
    }
    return verdict;
}

CardCheck checkCard(const QString &typedSerial, const CardLookup &lookup,
                    const std::function<bool(int)> &drawn)
{
    return checkCard(typedSerial, PrintedCardLookup([&lookup](qint64 serial) -> std::optional<PrintedCard> {
                         std::optional<Card> card = lookup(serial);
                         if (!card)
                             return std::nullopt;
                         return PrintedCard{serial, {}, 0, *card};
                     }),
                     drawn);
}

CardCheck checkCard(const QString &typedSerial, const PrintedCardLookup &lookup,
                    const std::function<bool(int)> &drawn)
{
    CardCheck check;
    static const QRegularExpression digits(QStringLiteral("\\d+"));
    const QString typed = digits.match(typedSerial).captured();
    if (typed.isEmpty()) {
        check.summary = QStringLiteral("Escriba el número del cartón.");
        return check;
    }
    bool ok = false;
    check.serial = typed.toLongLong(&ok);
    if (ok && check.serial > 0) {
        if (std::optional<PrintedCard> found = lookup(check.serial)) {
            check.card = found->card;
            check.series = found->series;
        }
    }
    if (!check.card) {
        check.summary = QStringLiteral("No hay ningún cartón con el %1.")
                            .arg(ok ? serialText(check.serial) : QStringLiteral("Nº ") + typed);
        return check;
    }

    std::vector<int> missing;
    std::array<int, rowsPerCard> rowNumbers{};
    std::array<int, rowsPerCard> rowDrawn{};
    for (int k = 1; k <= cellsPerCard; ++k) {
        const auto cell = static_cast<std::size_t>(k - 1);
        const auto row = static_cast<std::size_t>(cellRow(k) - 1);
        const int n = check.card->number(k);
        if (!n)
            continue;
        check.drawn[cell] = drawn(n);
        ++rowNumbers[row];
        if (check.drawn[cell])
            ++rowDrawn[row];
        else
            missing.push_back(n);
    }
    const QString card = check.series
        ? QStringLiteral("Cartón %1 (serie %2): ").arg(serialText(check.serial)).arg(check.series)
        : QStringLiteral("Cartón %1: ").arg(serialText(check.serial));
    if (missing.empty()) {
        const int numbers = check.card->numberCount();
        check.summary = card
            + (numbers == 1 ? QStringLiteral("¡Bingo! Ha salido su número.")
                            : QStringLiteral("¡Bingo! Han salido sus %1 números.").arg(numbers));
        return check;
    }
    for (std::size_t row = 0; row < rowNumbers.size(); ++row) {
        if (rowNumbers[row] && rowDrawn[row] == rowNumbers[row]) {
            check.summary = card + QStringLiteral("línea en la fila %1.").arg(row + 1);
            return check;
        }
    }
    check.summary = card
        + (missing.size() == 1 ? QStringLiteral("falta %1: %2") : QStringLiteral("faltan %1: %2"))
              .arg(missing.size())
              .arg(ascending(missing));
    return check;
}

} // namespace cantabola
