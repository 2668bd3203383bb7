// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/WordPlan.h"

#include <array>

namespace cantabola {

namespace {

// The tens words of the compound numbers, by tens digit: 1x is "dieci-", 2x "veinti-", 3x "treinta y"...
constexpr std::array<const char *, 8> tensWords = {
    "dieci", "veinti", "treintay", "cuarentay", "cincuentay", "sesentay", "setentay", "ochentay",
};

std::string ownFile(int n)
{
    return std::to_string(n) + ".wav";
}

} // namespace

std::vector<Word> wordPlan(int n)
{
    if (n < 1 || n > 90)
        return {};
    if (n <= 15 || n % 10 == 0)
        return {{ownFile(n), PlayMode::Async}};
    return {
        {std::string(tensWords[n / 10 - 1]) + ".wav", PlayMode::SyncNoStop},
        {ownFile(n % 10), PlayMode::Async},
    };
}

} // namespace cantabola
