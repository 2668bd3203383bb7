#include "ClaimCheck.h"

#include <QRegularExpression>
#include <algorithm>

namespace cantabola {

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
        if (std::any_of(verdict.numbers.begin(), verdict.numbers.end(), [n](auto c) { return c.number == n; }))
            continue;
        verdict.numbers.push_back({n, drawn(n)});
        if (!verdict.numbers.back().drawn)
            missing.push_back(n);
    }
    const auto count = static_cast<qsizetype>(verdict.numbers.size());
    if (count == 0) {
        verdict.summary = QStringLiteral("Escriba los números del cartón.");
    } else if (missing.empty()) {
        verdict.summary = QStringLiteral("Han salido los %1 números. Premio correcto.").arg(count);
    } else {
        std::sort(missing.begin(), missing.end());
        QStringList listed;
        for (const int n : missing)
            listed << QString::number(n);
        verdict.summary = QStringLiteral("Faltan %1 de %2: %3").arg(missing.size()).arg(count).arg(listed.join(QStringLiteral(", ")));
    }
    return verdict;
}

} // namespace cantabola
