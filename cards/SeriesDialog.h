// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// "Imprimir series": how many series of six to print, three or six cards a page, in which of the four card
// colours, and the serials they will carry. Whatever is typed that is not a number of series from 1 to 2000
// keeps "Imprimir" away and says why.

#include "platform/Colour.h"

#include <QDialog>
#include <QtGlobal>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace cantabola {

class SeriesDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int mostSeries = 2000;

    // firstSerial: the serial the first card printed will get.
    SeriesDialog(qint64 firstSerial, QWidget *parent);

    // The choices, once accepted.
    int seriesCount() const;
    bool largePrint() const;
    ColourValue colour() const;

    // The names the four card colours go by, in the order of the card window's colours.
    static const QStringList &colourNames();

private:
    void countChanged();

    qint64 m_firstSerial;
    QLineEdit *countField = nullptr;
    QLabel *countProblem = nullptr;
    QComboBox *perPageChoice = nullptr;
    QComboBox *colourChoice = nullptr;
    QLabel *serialsLine = nullptr;
    QPushButton *printButton = nullptr;
};

} // namespace cantabola
