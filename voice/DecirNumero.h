#pragma once

// Announcing a drawn number aloud.

#include "Seams.h"

namespace cantabola {

// Plays the words of n (see wordPlan) through sound. Returns once the last word has started; for a number
// of two words the tens word has by then been played in full, or skipped because a sound was still playing.
// n outside 1 to 90 plays nothing.
void DecirNumero(Sound &sound, int n);

} // namespace cantabola
