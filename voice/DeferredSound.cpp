#include "DeferredSound.h"

#include <QFile>

#include <cstdio>
#include <dlfcn.h>
#include <utility>

namespace cantabola {

DeferredSound::DeferredSound(QString libraryPath)
    : m_libraryPath(std::move(libraryPath))
{
}

// The player closes the audio device. The library itself stays loaded until the process ends, as SDL's
// exit handlers may still refer to it.
DeferredSound::~DeferredSound() = default;

bool DeferredSound::load()
{
    if (m_tried)
        return m_player != nullptr;
    m_tried = true;
    QString error;
    if (void *library = dlopen(QFile::encodeName(m_libraryPath).constData(), RTLD_NOW | RTLD_LOCAL)) {
        using Entry = Sound *(*)();
        if (auto entry = reinterpret_cast<Entry>(dlsym(library, SoundLibraryEntry)))
            m_player.reset(entry());
        else
            error = QStringLiteral("%1 no tiene %2").arg(m_libraryPath, QLatin1String(SoundLibraryEntry));
    } else {
        const char *reason = dlerror();
        error = QString::fromLocal8Bit(reason ? reason : "?");
    }
    if (!m_player)
        std::fprintf(stderr, "cantabola: sin sonido: %s\n", qPrintable(error));
    return m_player != nullptr;
}

void DeferredSound::play(const QString &fileName, PlayMode mode)
{
    if (load())
        m_player->play(fileName, mode);
}

} // namespace cantabola
