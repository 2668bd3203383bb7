// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's sound, kept in a library of its own that is loaded once the window is up.

#include "platform/Seams.h"

#include <QString>

#include <memory>

namespace cantabola {

// The file the sound library is built as, in the program's folder, and the function in it that makes the
// player (an SdlSound) for the program.
inline constexpr const char *SoundLibraryFileName = "cantabola_sound.so";
inline constexpr const char *SoundLibraryEntry = "cantabola_create_sound";

// SDL2_mixer brings some forty shared libraries of its own (decoders, MIDI, the sound servers' clients).
// Linked into the executable they would all be loaded and relocated before the window could appear. Behind
// this class they are loaded when the program asks, once its window has been painted, or at the first
// sound if that comes sooner; either way on the user-interface thread, like everything else.
//
// A library that is missing, cannot be loaded or has no entry leaves the program silent, as a missing
// sound device does: nothing shown, every play() returns at once (the reason goes to the cantabola.sound
// logging category).
class DeferredSound : public Sound
{
public:
    explicit DeferredSound(QString libraryPath);
    ~DeferredSound() override;
    DeferredSound(const DeferredSound &) = delete;
    DeferredSound &operator=(const DeferredSound &) = delete;

    // Loads the library and makes the player, the first time only. Returns whether sound can be played.
    bool load();

    void play(const QString &fileName, PlayMode mode) override;

private:
    QString m_libraryPath;
    bool m_tried = false;
    std::unique_ptr<Sound> m_player;
};

} // namespace cantabola
