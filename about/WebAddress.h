// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's one way of opening a web page: the address is handed to the user's browser, without a shell
// and without waiting. Only web pages and mail addresses are opened; whatever else an address file may hold
// (a local file, a script, a program) is quietly left alone.

#include "platform/Seams.h"

#include <QString>
#include <QUrl>
#include <optional>

namespace cantabola {

// Window-show modes the two callers pass on.
constexpr int showHidden = 0;
constexpr int showMaximised = 3;

// No web address we open is longer than this.
constexpr qsizetype longestWebAddress = 2048;

// The page an address names, when it is one we open: http or https, with a host, or a mailto: address of one
// mailbox (the desktop hands it to the mail program). An address without a scheme
// ("www.example.com/page") is taken as http; it then needs a host name with a dot, or "localhost", so that a
// relative path is not mistaken for one. Blanks, line ends, control and invisible formatting characters and
// backslashes anywhere make it no address.
std::optional<QUrl> webAddressToOpen(const QString &address);

// Opens address in the browser with the given show mode when it is a web address; otherwise does nothing.
// Reports nothing either way.
void OpenWebAddress(Browser &browser, const QString &address, int showMode);

// The authors' web page, fixed when the program is built. The about window shows it and opens it.
QString authorsWebAddress();

} // namespace cantabola
