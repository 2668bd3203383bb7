// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>
#include <thread>

namespace cantabola {

// Reading the font system's configuration takes milliseconds, and the main window's first font waits for it.
// The program starts it on a short-lived thread of its own before the application object is built: the
// thread reads fontconfig's configuration and its lists of installed faces, which fontconfig then keeps for
// the whole process (it is safe between threads), and touches nothing of Qt or of the program. The first
// design font waits for the thread to be done, so the two never read the configuration twice.
class FontSystemStart
{
public:
    FontSystemStart();
    // Waits for the thread, if no font has.
    ~FontSystemStart();
    FontSystemStart(const FontSystemStart &) = delete;
    FontSystemStart &operator=(const FontSystemStart &) = delete;

private:
    std::thread m_thread;
};

// The windows name Windows faces ("MS Sans Serif", "Arial", "Verdana", "Impact"). These map them to the
// installed faces closest in metrics and weight, once, before any window is built.
void installFontSubstitutions();

// A font as the window design names it: family, size in points, bold or regular.
QFont designFont(const QString &family, double points, bool bold = false);

// The default font of every control that has none of its own.
inline QFont defaultDesignFont()
{
    return designFont(QStringLiteral("MS Sans Serif"), 8.25);
}

} // namespace cantabola
