#pragma once

// The program's sound, kept in a library of its own that is loaded after the window is up.

#include "Seams.h"

#include <QString>

#include <future>
#include <memory>

namespace cantabola {

// The file the sound library is built as, in the program's folder, and the function in it that makes the
// player (an SdlSound) for the program.
inline constexpr const char *SoundLibraryFileName = "cantabola_sound.so";
inline constexpr const char *SoundLibraryEntry = "cantabola_create_sound";

// SDL2_mixer brings some forty shared libraries of its own (decoders, MIDI, the sound servers' clients).
// Linked into the executable they would all be loaded and relocated before the window could appear; behind
// this class they are loaded on a thread of their own while the window shows, and the first sound waits for
// them only if it comes sooner.
//
// A library that is missing, cannot be loaded or has no entry leaves the program silent, as a missing
// sound device does: one line on standard error, nothing shown, every play() returns at once.
class DeferredSound : public Sound
{
public:
    explicit DeferredSound(QString libraryPath);
    ~DeferredSound() override;
    DeferredSound(const DeferredSound &) = delete;
    DeferredSound &operator=(const DeferredSound &) = delete;

    // Starts loading the library in the background, unless that has been started already.
    void loadInBackground();
    // Waits for the library and makes the player, once. Returns whether sound can be played.
    bool ready();

    void play(const QString &fileName, PlayMode mode) override;

private:
    struct Loaded
    {
        void *handle = nullptr;
        QString error;
    };

    QString m_libraryPath;
    std::future<Loaded> m_loading;
    bool m_settled = false;
    std::unique_ptr<Sound> m_player;
};

} // namespace cantabola
