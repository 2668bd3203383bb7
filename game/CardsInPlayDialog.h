// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// "Cartones en juego": the serials of the cards sold for the game, as ranges and single serials, checked
// against the card registry as the operator types; and how the prizes are played.

#include "cards/SerialRanges.h"

#include <QDialog>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace cantabola {

class CardsInPlayDialog : public QDialog
{
    Q_OBJECT

public:
    // firstMissing: the first serial of the ranges the registry does not hold, if any.
    using MissingSerial = std::function<std::optional<qint64>(const std::vector<SerialRange> &)>;

    CardsInPlayDialog(const QString &serials, bool twoLines, bool stopOnPrize, MissingSerial firstMissing,
                      QWidget *parent);

    std::vector<SerialRange> ranges() const { return m_parsed.ranges; }
    bool twoLines() const;
    bool stopOnPrize() const;

    // "331 cartones en juego.", "1 cartón en juego."
    static QString countText(qint64 count);

private:
    void serialsChanged();

    MissingSerial m_firstMissing;
    SerialRanges m_parsed;
    QLineEdit *serialsField = nullptr;
    QLabel *countLine = nullptr;
    QCheckBox *twoLinesBox = nullptr;
    QCheckBox *stopBox = nullptr;
    QPushButton *acceptButton = nullptr;
};

} // namespace cantabola
