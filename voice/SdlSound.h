// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's one way of playing a sound file, over SDL2_mixer.

#include "platform/Seams.h"

#include <memory>

namespace cantabola {

// Plays WAV files with the three behaviours the program relies on:
// - PlayMode::Async: starts the file at once and returns; whatever was playing is cut short (with a fade of a
//   few milliseconds, so that the cut does not click). The cut happens even when the new file cannot be
//   played.
// - PlayMode::SyncNoStop: if a sound is still playing, returns at once and plays nothing; otherwise plays the
//   whole file and returns when it has ended. No window events are dispatched meanwhile: the calling thread
//   sleeps in steps of one millisecond, so the next word can start within one device buffer of the end.
// - PlayMode::AfterCurrent: returns at once; the file starts within a millisecond and a device buffer of the
//   end of the sound playing now (a timer of the calling thread's event loop looks), unless another play
//   comes first.
//
// The audio device (44100 Hz, 16-bit stereo, a buffer of 512 frames, 11.6 ms) is opened at the first play,
// or by openDevice(), and closed by the destructor; in between it rests (closed) once nothing has been played
// for restAfterMs, longer than the longest delay between two balls, and opens again at the next play. Decoded
// files are kept by path and decoded again when their size or modification time changes. Nothing is ever
// reported: with no audio driver or device, or for a missing, empty, corrupt or over-large file (more than 16
// MB), play() plays nothing and the program goes on. Only one SdlSound can hold the device at a time; a
// second one stays silent.
//
// Runs on the caller's thread; the only other thread is SDL's own audio thread.
class SdlSound : public Sound
{
public:
    static constexpr int Frequency = 44100;
    static constexpr int BufferFrames = 512;
    static constexpr qint64 MaxFileBytes = qint64(16) * 1024 * 1024;
    // A word is a second or two. A longer file is played for its first ten seconds only, ending in a short
    // fade, so that a wrong file under a word's name cannot hold the window still for minutes.
    static constexpr int LongestSoundSeconds = 10;

    // Longer than the longest pause of automatic calling (5 s), so that calling never waits for the device.
    static constexpr int RestAfterMs = 6000;

    explicit SdlSound(int restAfterMs = RestAfterMs);
    ~SdlSound() override;
    SdlSound(const SdlSound &) = delete;
    SdlSound &operator=(const SdlSound &) = delete;

    // fileName is relative to the current directory.
    void play(const QString &fileName, PlayMode mode) override;

    // Opens the audio device now unless it is open already; play() does this by itself. Returns whether
    // sound can be played. Opening is tried only once: after a failure the object stays silent.
    bool openDevice();
    // Whether the device is open now (not resting, not failed).
    bool deviceOpen() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace cantabola
