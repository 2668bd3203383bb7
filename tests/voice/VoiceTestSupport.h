#pragma once

// Support for the voice tests that play through the real SDL mixer: WAV files written on the spot, a session
// on SDL's "disk" audio driver (which writes what would have been heard to a file, 16-bit stereo at 44100
// Hz), and that file read back as runs of equal frames.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QtEndian>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstring>
#include <vector>

namespace voicetest {

// The 32 sound files: the 31 words and the signal "pac.wav".
inline const QStringList expectedSoundFiles = {
    "1.wav",        "2.wav",        "3.wav",         "4.wav",          "5.wav",        "6.wav",
    "7.wav",        "8.wav",        "9.wav",         "10.wav",         "11.wav",       "12.wav",
    "13.wav",       "14.wav",       "15.wav",        "20.wav",         "30.wav",       "40.wav",
    "50.wav",       "60.wav",       "70.wav",        "80.wav",         "90.wav",       "dieci.wav",
    "veinti.wav",   "treintay.wav", "cuarentay.wav", "cincuentay.wav", "sesentay.wav", "setentay.wav",
    "ochentay.wav", "pac.wav",
};

struct WavFormat
{
    int rate = 44100;
    int channels = 2;
    int bits = 16; // 8 (unsigned) or 16 (signed)
    int formatTag = 1;
};

// A RIFF/WAVE file around pcm. dataSizeField, when not negative, is written as the data chunk's size
// instead of the true one (a lying header).
inline QByteArray wavBytes(const WavFormat &format, const QByteArray &pcm, qint64 dataSizeField = -1)
{
    const auto le32 = [](quint32 value) {
        QByteArray bytes(4, '\0');
        qToLittleEndian(value, bytes.data());
        return bytes;
    };
    const auto le16 = [](quint16 value) {
        QByteArray bytes(2, '\0');
        qToLittleEndian(value, bytes.data());
        return bytes;
    };
    const int blockAlign = format.channels * format.bits / 8;
    QByteArray fmt = le16(quint16(format.formatTag)) + le16(quint16(format.channels))
        + le32(quint32(format.rate)) + le32(quint32(format.rate * blockAlign)) + le16(quint16(blockAlign))
        + le16(quint16(format.bits));
    const quint32 dataSize = dataSizeField >= 0 ? quint32(dataSizeField) : quint32(pcm.size());
    QByteArray body
        = "WAVE" + QByteArray("fmt ") + le32(quint32(fmt.size())) + fmt + "data" + le32(dataSize) + pcm;
    if (pcm.size() % 2)
        body += '\0';
    return "RIFF" + le32(quint32(body.size())) + body;
}

// frames frames of one constant value on every channel: 16-bit signed, or 8-bit unsigned around 128.
inline QByteArray constantPcm(const WavFormat &format, qint64 frames, int value)
{
    QByteArray pcm;
    pcm.reserve(frames * format.channels * format.bits / 8);
    for (qint64 i = 0; i < frames * format.channels; ++i) {
        if (format.bits == 8) {
            pcm += char(quint8(value));
        } else {
            char sample[2];
            qToLittleEndian(qint16(value), sample);
            pcm += QByteArray(sample, 2);
        }
    }
    return pcm;
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// A 44100 Hz stereo 16-bit file holding frames frames of value on both channels.
inline bool writeTone(const QString &path, qint64 frames, int value)
{
    const WavFormat format;
    return writeFile(path, wavBytes(format, constantPcm(format, frames, value)));
}

struct Run
{
    qint16 left = 0;
    qint16 right = 0;
    qint64 start = 0; // frame index in the output
    qint64 length = 0;
    bool silent() const { return left == 0 && right == 0; }
    bool is(int value) const { return left == value && right == value; }
};

// The disk driver's output (16-bit little-endian stereo frames) as runs of equal frames.
inline std::vector<Run> readRuns(const QString &path, qint64 *totalFrames = nullptr)
{
    std::vector<Run> runs;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return runs;
    qint64 index = 0;
    while (!file.atEnd()) {
        const QByteArray block = file.read(1 << 20);
        for (qsizetype i = 0; i + 4 <= block.size(); i += 4, ++index) {
            const auto left = qFromLittleEndian<qint16>(block.constData() + i);
            const auto right = qFromLittleEndian<qint16>(block.constData() + i + 2);
            if (!runs.empty() && runs.back().left == left && runs.back().right == right)
                ++runs.back().length;
            else
                runs.push_back({left, right, index, 1});
        }
    }
    if (totalFrames)
        *totalFrames = index;
    return runs;
}

// The runs without the silence at both ends.
inline std::vector<Run> trimmed(std::vector<Run> runs)
{
    while (!runs.empty() && runs.back().silent())
        runs.pop_back();
    if (!runs.empty() && runs.front().silent())
        runs.erase(runs.begin());
    return runs;
}

inline qint64 framesOf(const std::vector<Run> &runs, int value)
{
    qint64 frames = 0;
    for (const Run &run : runs) {
        if (run.is(value))
            frames += run.length;
    }
    return frames;
}

inline qint64 nonSilentFrames(const std::vector<Run> &runs)
{
    qint64 frames = 0;
    for (const Run &run : runs) {
        if (!run.silent())
            frames += run.length;
    }
    return frames;
}

// Sets up SDL's disk audio driver writing into folder/out.raw, with the given pause between buffers
// (0: as fast as the machine goes), and makes folder the current directory; undoes both at the end. The
// settings are read when an SdlSound opens the device, so the session must outlive the SdlSound.
class DiskSession
{
public:
    DiskSession(const QString &folder, int delayMs)
        : output(QDir(folder).filePath(QStringLiteral("out.raw")))
        , m_previousFolder(QDir::currentPath())
    {
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output));
        qputenv("SDL_DISKAUDIODELAY", QByteArray::number(delayMs));
        QDir::setCurrent(folder);
    }
    ~DiskSession() { QDir::setCurrent(m_previousFolder); }
    DiskSession(const DiskSession &) = delete;
    DiskSession &operator=(const DiskSession &) = delete;

    const QString output;

private:
    QString m_previousFolder;
};

// Waits until the mixer plays nothing. The limit only keeps a broken run from hanging; nothing is
// concluded from how long the wait took.
inline bool waitUntilQuiet(Uint64 limitMs = 30000)
{
    const Uint64 giveUpAt = SDL_GetTicks64() + limitMs;
    while (Mix_Playing(-1)) {
        if (SDL_GetTicks64() > giveUpAt)
            return false;
        SDL_Delay(1);
    }
    return true;
}

// The audio device the mixer opened (the process opens only that one), found by asking each device id.
inline SDL_AudioDeviceID openedDevice()
{
    for (SDL_AudioDeviceID id = 1; id < 64; ++id) {
        if (SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_STOPPED)
            return id;
    }
    return 0;
}

} // namespace voicetest
