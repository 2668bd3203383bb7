// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a banner's address file: the first field read from them whole, from only their beginning and
// from a file, and the decision whether that field is a web page to open. Beyond crashes and sanitizer
// reports, whatever the reader and the address check promise is checked on every input, and a broken promise
// ends the run like a crash:
// - a field read from a beginning is the field of the whole, or none when it might run on past the beginning;
// - an unquoted field holds no comma or line end and neither starts nor ends with a blank; a quoted one holds
//   no double quote;
// - the file gives the same field as the buffer;
// - an address that is opened is http or https with a host, and holds no blank or control character.

#include "about/AddressFile.h"
#include "about/WebAddress.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace cantabola;

namespace {

[[noreturn]] void promiseBroken(const char *promise, const QString &field)
{
    std::fprintf(stderr, "address file: %s (field \"%s\")\n", promise, qPrintable(field.left(200)));
    std::abort();
}

// Where the bytes are written for readFirstField: one file, rewritten for every input.
const QString &scratchFile()
{
    static QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("t1.txt"));
    return path;
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Where the first field of data starts: after the byte-order mark and the blanks.
QByteArrayView fieldStart(QByteArrayView data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    qsizetype at = 0;
    while (at < data.size() && (data[at] == ' ' || data[at] == '\t'))
        ++at;
    return data.sliced(at);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    const QByteArrayView data(bytes, static_cast<qsizetype>(size));

    const QString field = firstFieldOf(data, true);
    const QString fromBeginning = firstFieldOf(data, false);
    if (!fromBeginning.isEmpty() && fromBeginning != field)
        promiseBroken("the beginning of a file gave another field than the whole", fromBeginning);

    const QByteArrayView start = fieldStart(data);
    if (start.startsWith('"')) {
        if (field.contains(QLatin1Char('"')))
            promiseBroken("a quoted field holds a double quote", field);
    } else {
        if (field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('\n'))
            || field.contains(QLatin1Char('\r')))
            promiseBroken("an unquoted field runs past a comma or a line end", field);
        // A byte-order mark further on is a character of the field, which the UTF-8 decoder drops at its
        // start: the blanks behind it are then the field's first characters.
        if (!field.isEmpty() && isBlank(field.front()) && !start.startsWith("\xEF\xBB\xBF"))
            promiseBroken("an unquoted field keeps blanks in front", field);
        if (!field.isEmpty() && isBlank(field.back()))
            promiseBroken("an unquoted field keeps blanks behind", field);
    }

    if (size < static_cast<std::size_t>(addressFileReadLimit)) {
        {
            QFile file(scratchFile());
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                || file.write(reinterpret_cast<const char *>(bytes), static_cast<qint64>(size))
                    != static_cast<qint64>(size))
                promiseBroken("the scratch file cannot be written", QString());
        }
        if (readFirstField(scratchFile()) != field)
            promiseBroken("the file gave another field than the buffer", field);
    }

    if (const std::optional<QUrl> url = webAddressToOpen(field)) {
        if (url->scheme() != QLatin1String("http") && url->scheme() != QLatin1String("https"))
            promiseBroken("an address that is no web page would be opened", field);
        if (url->host().isEmpty())
            promiseBroken("an address without a host would be opened", field);
        for (const QChar c : field) {
            if (c.unicode() <= 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control)
                promiseBroken("an address with a blank or a control character would be opened", field);
        }
    }
    return 0;
}
