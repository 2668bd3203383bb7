// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The web address of a banner is the first field of its address file, read the way comma-separated text
// fields have always been read: leading blanks are skipped; the field ends at the first comma or at the end
// of the first line; a field that begins with a double quote runs to the closing quote (both quotes dropped)
// and may hold commas. The rest of the file is never looked at.

#include <QByteArrayView>
#include <QString>

namespace cantabola {

// No address is longer than this; a file whose first field does not end within it has no address.
constexpr qsizetype addressFileReadLimit = qsizetype(64) * 1024;

// The first field of the text in data. complete tells whether data is the whole file or only its beginning:
// a field that runs to the end of an incomplete beginning is cut short, and is therefore no field at all.
// A UTF-8 byte-order mark is skipped; line ends may be LF, CRLF or CR; blanks after an unquoted field are
// dropped; a quote that is never closed gives an empty field.
QString firstFieldOf(QByteArrayView data, bool complete);

// The first field of the file at path, or an empty text when there is no regular file there or it cannot be
// read. At most addressFileReadLimit bytes are read, whatever the size of the file.
QString readFirstField(const QString &path);

} // namespace cantabola
