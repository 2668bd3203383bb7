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

// The player goes first: it closes the audio device. The library itself stays loaded until the process
// ends, as SDL's threads and exit handlers may still refer to it.
DeferredSound::~DeferredSound()
{
    m_player.reset();
    if (m_loading.valid())
        m_loading.wait();
}

void DeferredSound::loadInBackground()
{
    if (m_loading.valid() || m_settled)
        return;
    const QByteArray path = QFile::encodeName(m_libraryPath);
    m_loading = std::async(std::launch::async, [path] {
        Loaded loaded;
        loaded.handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
        if (!loaded.handle) {
            // dlerror() belongs to the thread that failed.
            const char *error = dlerror();
            loaded.error = QString::fromLocal8Bit(error ? error : "?");
        }
        return loaded;
    });
}

bool DeferredSound::ready()
{
    if (m_settled)
        return m_player != nullptr;
    loadInBackground();
    const Loaded loaded = m_loading.get();
    m_settled = true;
    QString error = loaded.error;
    if (loaded.handle) {
        using Entry = Sound *(*)();
        if (auto entry = reinterpret_cast<Entry>(dlsym(loaded.handle, SoundLibraryEntry)))
            m_player.reset(entry());
        else
            error = QStringLiteral("%1 no tiene %2").arg(m_libraryPath, QLatin1String(SoundLibraryEntry));
    }
    if (!m_player)
        std::fprintf(stderr, "cantabola: sin sonido: %s\n", qPrintable(error));
    return m_player != nullptr;
}

void DeferredSound::play(const QString &fileName, PlayMode mode)
{
    if (ready())
        m_player->play(fileName, mode);
}

} // namespace cantabola
