#pragma once

// Small GIF pictures written byte by byte for the banner tests (Qt reads GIF but cannot write it): every
// frame is filled with one colour, so a test can tell which picture is on show from a single pixel.

#include <QByteArray>
#include <QColor>
#include <algorithm>
#include <vector>

namespace cantabola::testing {

// A GIF of the given size with one frame per colour (up to four colours; more frames repeat them), looping
// forever when there is more than one frame, each frame shown for delayCentiseconds.
inline QByteArray makeGif(int width, int height, const std::vector<QColor> &frames,
                          int delayCentiseconds = 10)
{
    QByteArray gif("GIF89a");
    const auto put16 = [&gif](int value) {
        gif.append(static_cast<char>(value & 0xFF));
        gif.append(static_cast<char>((value >> 8) & 0xFF));
    };
    put16(width);
    put16(height);
    gif.append(static_cast<char>(0xF1)); // a global table of four colours
    gif.append('\0'); // background index
    gif.append('\0'); // aspect
    for (std::size_t i = 0; i < 4; ++i) {
        const QColor colour = i < frames.size() ? frames[i] : QColor(Qt::black);
        gif.append(static_cast<char>(colour.red()));
        gif.append(static_cast<char>(colour.green()));
        gif.append(static_cast<char>(colour.blue()));
    }
    if (frames.size() > 1)
        gif.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (std::size_t f = 0; f < frames.size(); ++f) {
        gif.append("\x21\xF9\x04\x00", 4);
        put16(delayCentiseconds);
        gif.append('\0');
        gif.append('\0');
        gif.append(static_cast<char>(0x2C));
        put16(0);
        put16(0);
        put16(width);
        put16(height);
        gif.append('\0');
        gif.append(static_cast<char>(2)); // LZW minimum code size
        // Three-bit codes throughout: a clear code before every second pixel keeps the table from growing.
        QByteArray data;
        unsigned bits = 0;
        int count = 0;
        const auto code = [&](unsigned value) {
            bits |= value << count;
            count += 3;
            while (count >= 8) {
                data.append(static_cast<char>(bits & 0xFFU));
                bits >>= 8U;
                count -= 8;
            }
        };
        const long pixels = static_cast<long>(width) * height;
        for (long p = 0; p < pixels; ++p) {
            if (p % 2 == 0)
                code(4);
            code(static_cast<unsigned>(f % 4));
        }
        code(5);
        if (count > 0)
            data.append(static_cast<char>(bits & 0xFFU));
        for (qsizetype at = 0; at < data.size(); at += 255) {
            const qsizetype n = std::min<qsizetype>(255, data.size() - at);
            gif.append(static_cast<char>(n));
            gif.append(data.mid(at, n));
        }
        gif.append('\0');
    }
    gif.append(static_cast<char>(0x3B));
    return gif;
}

} // namespace cantabola::testing
