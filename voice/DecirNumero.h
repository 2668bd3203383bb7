// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Announcing a drawn number aloud.

#include "platform/Seams.h"

namespace cantabola {

// Plays the words of n (see wordPlan) through sound. Returns once the last word has started; for a number
// of two words the tens word has by then been played in full, or skipped because a sound was still playing.
// n outside 1 to 90 plays nothing.
void DecirNumero(Sound &sound, int n);

// The same words, heard the same way (a tens word to its end, then the units word), but without holding the
// thread: the first word cuts short whatever plays, the next one follows it. For saying a number again while
// the game goes on.
void DecirNumeroSinEsperar(Sound &sound, int n);

} // namespace cantabola
