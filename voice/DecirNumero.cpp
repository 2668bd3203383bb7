// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/DecirNumero.h"

#include "voice/WordPlan.h"

namespace cantabola {

void DecirNumero(Sound &sound, int n)
{
    for (const Word &word : wordPlan(n))
        sound.play(QString::fromStdString(word.file), word.mode);
}

void DecirNumeroSinEsperar(Sound &sound, int n)
{
    bool first = true;
    for (const Word &word : wordPlan(n)) {
        sound.play(QString::fromStdString(word.file), first ? PlayMode::Async : PlayMode::AfterCurrent);
        first = false;
    }
}

} // namespace cantabola
