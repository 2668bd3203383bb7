// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTextBrowser;

namespace cantabola {

// The program's help viewer: a window of its own beside the main window, showing the help document from its
// contents at the top. A missing or unreadable document is said in the viewer itself.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);
    void showContents(const QString &helpFilePath);
    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};

} // namespace cantabola
