// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/DeferredSound.h"

#include "platform/Logging.h"

#include <QLibrary>
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
    // A QLibrary does not unload what it loaded when it goes.
    QLibrary library(m_libraryPath);
    library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    using Entry = Sound *(*)();
    if (auto entry = reinterpret_cast<Entry>(library.resolve(SoundLibraryEntry)))
        m_player.reset(entry());
    else
        qCDebug(lcSound) << "no sound:" << library.errorString();
    return m_player != nullptr;
}

void DeferredSound::play(const QString &fileName, PlayMode mode)
{
    if (load())
        m_player->play(fileName, mode);
}

} // namespace cantabola
