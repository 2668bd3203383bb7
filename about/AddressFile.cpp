// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/AddressFile.h"

#include <QFile>
#include <QFileInfo>

namespace cantabola {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool endsUnquotedField(char c)
{
    return c == ',' || c == '\n' || c == '\r';
}

} // namespace

QString firstFieldOf(QByteArrayView data, bool complete)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);

    qsizetype at = 0;
    while (at < data.size() && isBlank(data[at]))
        ++at;

    if (at < data.size() && data[at] == '"') {
        const qsizetype start = at + 1;
        const qsizetype close = data.indexOf('"', start);
        if (close < 0)
            return {};
        return QString::fromUtf8(data.sliced(start, close - start));
    }

    qsizetype end = at;
    while (end < data.size() && !endsUnquotedField(data[end]))
        ++end;
    if (end == data.size() && !complete)
        return {};
    while (end > at && isBlank(data[end - 1]))
        --end;
    return QString::fromUtf8(data.sliced(at, end - at));
}

QString readFirstField(const QString &path)
{
    // Only a regular file: a pipe or a device under the name would block the read or never end.
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray beginning = file.read(addressFileReadLimit);
    const bool complete = beginning.size() < addressFileReadLimit || file.atEnd();
    return firstFieldOf(beginning, complete);
}

} // namespace cantabola
