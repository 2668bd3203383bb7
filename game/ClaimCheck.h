#pragma once

// Checking a claimed card: the numbers a player reads out, as the operator types them, against the balls drawn.

#include <QString>
#include <functional>
#include <vector>

namespace cantabola {

struct CheckedNumber
{
    int number;
    bool drawn;
    friend bool operator==(const CheckedNumber &, const CheckedNumber &) = default;
};

struct ClaimVerdict
{
    // Each number typed once, in the order typed; empty when a number is not valid.
    std::vector<CheckedNumber> numbers;
    // The one line the operator reads: what to type, the verdict, or the first number that is no ball.
    QString summary;
};

// The numbers are runs of digits; blanks, commas or anything else between them separate them. A number typed
// twice counts once.
ClaimVerdict checkClaim(const QString &typed, const std::function<bool(int)> &drawn);

} // namespace cantabola
