// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/SdlSound.h"

#include "platform/Logging.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTimer>

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <utility>
#include <vector>

namespace cantabola {

namespace {

constexpr int OutputChannels = 2; // stereo
constexpr int BytesPerFrame = OutputChannels * int(sizeof(Sint16));
// Mixing channels: the sound playing now, and the ones still fading out after a cut.
constexpr int MixChannels = 8;
// A cut-short sound fades out over 5 ms: long enough not to click, short enough to count as a cut.
constexpr int FadeFrames = SdlSound::Frequency * 5 / 1000;
// A faded sound keeps "playing" silence until its file would have ended; the mixer drops it after this
// long at the latest, and the next play() as soon as its fade is over.
constexpr int FadedChannelLifeMs = 250;
// Limits against hostile files: what one file may decode to, and what the decoded files kept may take.
constexpr qint64 MaxDecodedBytes = qint64(64) * 1024 * 1024;
constexpr qint64 MaxCachedBytes = qint64(64) * 1024 * 1024;

// A fade-out applied to one mixing channel's samples, frame by frame, before they are mixed: a linear ramp
// from full level to silence over `total` frames, then silence. Runs on SDL's audio thread.
struct Fade
{
    std::atomic<int> remaining{0};
    int total = 1;
};

void fadeOutEffect(int /*channel*/, void *stream, int length, void *userData)
{
    auto *fade = static_cast<Fade *>(userData);
    auto *samples = static_cast<Sint16 *>(stream);
    const int frames = length / BytesPerFrame;
    int remaining = fade->remaining.load(std::memory_order_relaxed);
    for (int frame = 0; frame < frames; ++frame) {
        for (int c = 0; c < OutputChannels; ++c) {
            Sint16 &sample = samples[frame * OutputChannels + c];
            sample = Sint16(int(sample) * remaining / fade->total);
        }
        if (remaining > 0)
            --remaining;
    }
    fade->remaining.store(remaining, std::memory_order_relaxed);
}

quint32 littleEndian32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return quint32(u[0]) | quint32(u[1]) << 8 | quint32(u[2]) << 16 | quint32(u[3]) << 24;
}

quint16 littleEndian16(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return quint16(u[0] | u[1] << 8);
}

// A look at a file's RIFF header before SDL decodes it: a RIFF/WAVE file with a format chunk of sane values
// and a data chunk holding at least one byte, which will not decode (after conversion to the device's
// format) to more than MaxDecodedBytes. Anything else is not worth handing to the decoder.
bool plausibleWave(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    const qint64 size = bytes.size();
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return false;

    bool haveFormat = false;
    quint16 channels = 0;
    quint32 rate = 0;
    quint16 blockAlign = 0;
    quint16 bits = 0;
    qint64 dataBytes = 0;
    qint64 pos = 12;
    while (pos + 8 <= size) {
        const char *id = data + pos;
        const qint64 length = littleEndian32(data + pos + 4);
        const qint64 body = pos + 8;
        const qint64 available = std::min(length, size - body);
        if (std::memcmp(id, "fmt ", 4) == 0) {
            if (available < 16)
                return false;
            channels = littleEndian16(data + body + 2);
            rate = littleEndian32(data + body + 4);
            blockAlign = littleEndian16(data + body + 12);
            bits = littleEndian16(data + body + 14);
            haveFormat = true;
        } else if (std::memcmp(id, "data", 4) == 0) {
            dataBytes = available;
            break;
        }
        pos = body + length + (length & 1);
    }
    if (!haveFormat || dataBytes <= 0)
        return false;
    if (channels < 1 || channels > 8 || rate < 1000 || rate > 384000 || blockAlign == 0)
        return false;
    // An upper bound on the frames: compressed formats (ADPCM) give their bits per sample too.
    const qint64 frames = dataBytes * 8 / (qint64(std::max<quint16>(bits, 1)) * channels);
    const qint64 decoded = (frames * SdlSound::Frequency / rate + 1) * BytesPerFrame;
    return decoded <= MaxDecodedBytes;
}

struct CachedFile
{
    qint64 size = 0;
    QDateTime modified;
    Mix_Chunk *chunk = nullptr; // nullptr: the file cannot be played
};

// The SdlSound that holds SDL's mixer, which is one per process.
const void *mixerOwner = nullptr;

} // namespace

struct SdlSound::Impl
{
    enum class Device { NotTried, Open, Resting, Failed };

    explicit Impl(int restAfterMs);
    ~Impl();
    bool open();
    void rest();
    void playAsync(const QString &fileName);
    void playSyncNoStop(const QString &fileName);

    Mix_Chunk *chunkFor(const QString &fileName);
    static Mix_Chunk *decode(const QString &fileName);
    bool inUse(const Mix_Chunk *chunk) const;
    void release(Mix_Chunk *chunk);
    void trimCache(const Mix_Chunk *keep);
    bool playing() const { return current >= 0 && Mix_Playing(current) != 0; }
    void cutShort();
    int start(Mix_Chunk *chunk);
    void tidy();

    Device device = Device::NotTried;
    bool sdlStarted = false;
    bool mixerOpen = false;
    // The mixing channel of the sound started last (not faded), or -1.
    int current = -1;
    std::vector<int> fading;
    std::array<Fade, MixChannels> fades;
    QHash<QString, CachedFile> cache;
    qint64 cachedBytes = 0;
    // Decoded files replaced while still playing, freed once they have stopped.
    std::vector<Mix_Chunk *> retired;
    // Runs out when nothing has been played for a while (see rest()).
    QTimer restTimer;
    // A file to start once the current sound has ended, looked for every millisecond.
    QString next;
    QTimer nextTimer;
};

SdlSound::Impl::Impl(int restAfterMs)
{
    restTimer.setSingleShot(true);
    restTimer.setInterval(restAfterMs);
    QObject::connect(&restTimer, &QTimer::timeout, [this] { rest(); });
    nextTimer.setTimerType(Qt::PreciseTimer);
    nextTimer.setInterval(1);
    QObject::connect(&nextTimer, &QTimer::timeout, [this] {
        if (playing())
            return;
        nextTimer.stop();
        playAsync(std::exchange(next, QString()));
        restTimer.start();
    });
}

SdlSound::Impl::~Impl()
{
    if (mixerOpen)
        Mix_HaltChannel(-1);
    // Decoded files outlive a rest of the device, so they are freed whether it is open or not.
    for (const CachedFile &file : std::as_const(cache)) {
        if (file.chunk)
            Mix_FreeChunk(file.chunk);
    }
    for (Mix_Chunk *chunk : retired)
        Mix_FreeChunk(chunk);
    if (mixerOpen)
        Mix_CloseAudio();
    if (sdlStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (device != Device::NotTried && SDL_WasInit(0) == 0)
        SDL_Quit();
    if (mixerOwner == this)
        mixerOwner = nullptr;
}

bool SdlSound::Impl::open()
{
    if (device == Device::Open)
        return true;
    if (device == Device::Failed)
        return false;
    const bool resting = device == Device::Resting;
    device = Device::Failed;
    if (!resting) {
        if (mixerOwner)
            return false;
        // SDL must leave Ctrl+C and the termination signal to the program, and its queue of device events is
        // never read.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Cantabola");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            qCDebug(lcSound) << "no audio driver:" << SDL_GetError();
            return false;
        }
        sdlStarted = true;
        SDL_EventState(SDL_AUDIODEVICEADDED, SDL_IGNORE);
        SDL_EventState(SDL_AUDIODEVICEREMOVED, SDL_IGNORE);
    }

    // Exactly this format, whatever the device takes (SDL converts): the fade works on 16-bit stereo, and the
    // decoded files kept through a rest stay valid when the device opens again.
    if (Mix_OpenAudioDevice(Frequency, AUDIO_S16SYS, OutputChannels, BufferFrames, nullptr, 0) != 0) {
        qCDebug(lcSound) << "no audio device:" << Mix_GetError();
        return false;
    }
    mixerOpen = true;
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) == 0 || format != AUDIO_S16SYS
        || channels != OutputChannels)
        return false;
    Mix_AllocateChannels(MixChannels);
    mixerOwner = this;
    device = Device::Open;
    return true;
}

// Closes the device once nothing has played for a while: an open device has SDL's audio thread mixing
// silence, waking the processor dozens of times a second for as long as the program runs. The decoded files
// are kept; the next sound opens the device again.
void SdlSound::Impl::rest()
{
    if (device != Device::Open)
        return;
    if (Mix_Playing(-1) > 0) {
        restTimer.start();
        return;
    }
    Mix_HaltChannel(-1);
    fading.clear();
    current = -1;
    for (Mix_Chunk *chunk : retired)
        Mix_FreeChunk(chunk);
    retired.clear();
    Mix_CloseAudio();
    mixerOpen = false;
    device = Device::Resting;
}

Mix_Chunk *SdlSound::Impl::decode(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    // No more than the file holds: a read of MaxFileBytes would set aside that much memory for every file.
    const QByteArray bytes = file.read(std::min(file.size(), MaxFileBytes) + 1);
    if (bytes.isEmpty() || bytes.size() > MaxFileBytes || !plausibleWave(bytes))
        return nullptr;
    SDL_RWops *source = SDL_RWFromConstMem(bytes.constData(), int(bytes.size()));
    if (!source)
        return nullptr;
    Mix_Chunk *chunk = Mix_LoadWAV_RW(source, 1); // converted to the device's format, in a buffer of its own
    if (chunk && chunk->alen < Uint32(BytesPerFrame)) {
        Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
    constexpr Uint32 longestFrames = Uint32(LongestSoundSeconds) * Frequency;
    if (chunk && chunk->alen > longestFrames * BytesPerFrame) {
        chunk->alen = longestFrames * BytesPerFrame;
        auto *samples = reinterpret_cast<Sint16 *>(chunk->abuf);
        for (Uint32 i = 0; i < Uint32(FadeFrames); ++i) {
            const Uint32 frame = longestFrames - FadeFrames + i;
            for (int c = 0; c < OutputChannels; ++c) {
                Sint16 &sample = samples[frame * OutputChannels + c];
                sample = Sint16(sample * int(FadeFrames - 1 - i) / FadeFrames);
            }
        }
    }
    return chunk;
}

bool SdlSound::Impl::inUse(const Mix_Chunk *chunk) const
{
    for (int channel = 0; channel < MixChannels; ++channel) {
        if (Mix_Playing(channel) && Mix_GetChunk(channel) == chunk)
            return true;
    }
    return false;
}

// Frees a decoded file now, or once it has stopped playing: freeing it would stop it with a click.
void SdlSound::Impl::release(Mix_Chunk *chunk)
{
    if (!chunk)
        return;
    if (inUse(chunk))
        retired.push_back(chunk);
    else
        Mix_FreeChunk(chunk);
}

void SdlSound::Impl::trimCache(const Mix_Chunk *keep)
{
    for (auto it = cache.begin(); it != cache.end() && cachedBytes > MaxCachedBytes;) {
        if (it->chunk && it->chunk != keep) {
            cachedBytes -= it->chunk->alen;
            release(it->chunk);
            it = cache.erase(it);
        } else {
            ++it;
        }
    }
}

Mix_Chunk *SdlSound::Impl::chunkFor(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.isFile())
        return nullptr;
    const QString key = info.absoluteFilePath();
    const qint64 size = info.size();
    const QDateTime modified = info.lastModified();
    if (const auto it = cache.constFind(key); it != cache.constEnd()) {
        if (it->size == size && it->modified == modified)
            return it->chunk;
        if (it->chunk)
            cachedBytes -= it->chunk->alen;
        release(it->chunk);
        cache.erase(it);
    }
    Mix_Chunk *chunk = size > 0 && size <= MaxFileBytes ? decode(fileName) : nullptr;
    if (!chunk)
        qCDebug(lcSound) << "cannot play" << key;
    cache.insert(key, {size, modified, chunk});
    if (chunk) {
        cachedBytes += chunk->alen;
        trimCache(chunk);
    }
    return chunk;
}

// Cuts the current sound short: a fade of FadeFrames on its channel, which is then left to run out.
void SdlSound::Impl::cutShort()
{
    if (playing()) {
        Fade &fade = fades[std::size_t(current)];
        fade.total = FadeFrames;
        fade.remaining.store(FadeFrames);
        if (Mix_RegisterEffect(current, fadeOutEffect, nullptr, &fade) != 0) {
            Mix_ExpireChannel(current, FadedChannelLifeMs);
            fading.push_back(current);
        } else {
            Mix_HaltChannel(current);
        }
    }
    current = -1;
}

// Stops the channels whose fade is over and frees decoded files that were waiting to stop.
void SdlSound::Impl::tidy()
{
    std::erase_if(fading, [this](int channel) {
        if (!Mix_Playing(channel))
            return true;
        if (fades[std::size_t(channel)].remaining.load() > 0)
            return false;
        Mix_HaltChannel(channel); // silent by now
        return true;
    });
    std::erase_if(retired, [this](Mix_Chunk *chunk) {
        if (inUse(chunk))
            return false;
        Mix_FreeChunk(chunk);
        return true;
    });
}

int SdlSound::Impl::start(Mix_Chunk *chunk)
{
    int channel = Mix_PlayChannel(-1, chunk, 0);
    if (channel < 0 && !fading.empty()) {
        // Every channel is still fading out (many cuts within a few milliseconds): end the fades.
        for (int faded : fading)
            Mix_HaltChannel(faded);
        fading.clear();
        channel = Mix_PlayChannel(-1, chunk, 0);
    }
    // A faded channel that ran out since tidy() may have been taken: it is no longer fading.
    std::erase(fading, channel);
    return channel;
}

void SdlSound::Impl::playAsync(const QString &fileName)
{
    cutShort();
    if (Mix_Chunk *chunk = chunkFor(fileName))
        current = start(chunk);
}

void SdlSound::Impl::playSyncNoStop(const QString &fileName)
{
    if (playing())
        return;
    current = -1;
    Mix_Chunk *chunk = chunkFor(fileName);
    if (!chunk)
        return;
    const int channel = start(chunk);
    if (channel < 0)
        return;
    current = channel;

    // Wait for the end without dispatching anything. A guard against a device that stopped consuming
    // (unplugged, driver gone): far beyond the file's length, the word is given up.
    const Uint64 lengthMs = Uint64(chunk->alen) * 1000 / (Uint64(BytesPerFrame) * Frequency);
    const Uint64 giveUpAt = SDL_GetTicks64() + 2 * lengthMs + 3000;
    while (Mix_Playing(channel)) {
        if (SDL_GetTicks64() > giveUpAt) {
            Mix_HaltChannel(channel);
            break;
        }
        SDL_Delay(1);
    }
}

SdlSound::SdlSound(int restAfterMs)
    : d(std::make_unique<Impl>(restAfterMs))
{
}

SdlSound::~SdlSound() = default;

bool SdlSound::openDevice()
{
    return d->open();
}

void SdlSound::play(const QString &fileName, PlayMode mode)
{
    d->nextTimer.stop(); // a word waiting for its turn is forgotten
    if (!d->open())
        return;
    d->tidy();
    if (mode == PlayMode::AfterCurrent && d->playing()) {
        d->next = fileName;
        d->nextTimer.start();
        return;
    }
    if (mode == PlayMode::SyncNoStop)
        d->playSyncNoStop(fileName);
    else
        d->playAsync(fileName);
    d->restTimer.start();
}

bool SdlSound::deviceOpen() const
{
    return d->device == Impl::Device::Open;
}

} // namespace cantabola
