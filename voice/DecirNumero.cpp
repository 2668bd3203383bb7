#include "DecirNumero.h"

#include "WordPlan.h"

namespace cantabola {

void DecirNumero(Sound &sound, int n)
{
    for (const Word &word : wordPlan(n))
        sound.play(QString::fromStdString(word.file), word.mode);
}

} // namespace cantabola
