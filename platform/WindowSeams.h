// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The seams of the windows: message boxes, the colour and print dialogs, and everything a window is handed.

#include "platform/Seams.h"

#include <QColor>
#include <QString>
#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace cantabola {

enum class MessageIcon { None, Critical, Question, Information };
enum class MessageButtons { Ok, YesNo }; // Yes is the default of YesNo
enum class MessageAnswer { Ok, Yes, No };

struct Message
{
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer show(QWidget *parent, const Message &message) = 0;
};

// The colour chooser, opened with its custom-colour section expanded and not preset. nullopt means Cancel.
class ColourDialog
{
public:
    virtual ~ColourDialog() = default;
    virtual std::optional<QColor> chooseColour(QWidget *parent) = 0;
};

// The print dialog. Returns the printer chosen, ready to paint on, or nullptr when the operator cancels.
class PrintDialog
{
public:
    virtual ~PrintDialog() = default;
    virtual std::unique_ptr<QPrinter> choosePrinter(QWidget *parent) = 0;
};

// The file dialog for saving: the path chosen, or an empty text when the operator cancels.
class FileDialog
{
public:
    virtual ~FileDialog() = default;
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &suggestedName) = 0;
};

// Everything a window needs from the machine, handed to each window when it is built.
struct Platform
{
    Screen &screen;
    Clock &clock;
    Waiter &waiter;
    Random &random;
    MessageBoxes &messages;
    ProcessEnder &process;
    Sound &sound;
    ColourDialog &colours;
    PrintDialog &printing;
    Browser &browser;
    HelpViewer &help;
    FileDialog &files;
    // The folder the program's runtime files (sounds, data, help) lie in.
    QString programFolder;
    // The user's folder for what the program keeps between runs (the game in progress, the card registry).
    QString dataFolder;
    // The file of the operator's settings (INI format); empty: nothing is remembered.
    QString settingsFile = {};
};

} // namespace cantabola
