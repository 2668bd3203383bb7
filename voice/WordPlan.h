// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which recorded words say a drawn number, and how each is played: the announcement as data, so
// that it can be checked on its own and played through any Sound.

#include "platform/Seams.h"

#include <string>
#include <vector>

namespace cantabola {

struct Word
{
    std::string file; // a file name relative to the program's folder, such as "treintay.wav"
    PlayMode mode; // PlayMode::Async (flags 1) or PlayMode::SyncNoStop (flags 16)

    friend bool operator==(const Word &, const Word &) = default;
};

// The words of n, in the order they are played:
// - 1 to 15 and the round tens 20 to 90: the number's own file, asynchronously;
// - 16 to 19, 21 to 29, ..., 81 to 89: the tens word, synchronously without stopping a sound still playing,
//   then the units word (the last digit's file), asynchronously;
// - anything else (0, negative, above 90): nothing.
std::vector<Word> wordPlan(int n);

} // namespace cantabola
