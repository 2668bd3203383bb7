// SPDX-License-Identifier: GPL-3.0-or-later
// The sound library's one entry: the program's player, made once the library has been loaded.

#include "voice/DeferredSound.h"
#include "voice/SdlSound.h"

extern "C" __attribute__((visibility("default"))) cantabola::Sound *cantabola_create_sound()
{
    return new cantabola::SdlSound();
}
