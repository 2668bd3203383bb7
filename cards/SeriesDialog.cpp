// SPDX-License-Identifier: GPL-3.0-or-later
#include "cards/SeriesDialog.h"

#include "cards/CardRules.h"
#include "cards/Series.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cantabola {

const QStringList &SeriesDialog::colourNames()
{
    static const QStringList names = {QStringLiteral("Azul pizarra"), QStringLiteral("Amarillo oliva"),
                                      QStringLiteral("Verde petróleo"), QStringLiteral("Ocre")};
    return names;
}

SeriesDialog::SeriesDialog(qint64 firstSerial, QWidget *parent)
    : QDialog(parent)
    , m_firstSerial(firstSerial)
{
    setObjectName(QStringLiteral("seriesDialog"));
    setWindowTitle(QStringLiteral("Imprimir series"));
    setModal(true);

    countField = new QLineEdit(QStringLiteral("10"), this);
    countField->setObjectName(QStringLiteral("countField"));
    countProblem = new QLabel(this);
    countProblem->setObjectName(QStringLiteral("countProblem"));
    countProblem->setStyleSheet(QStringLiteral("color: #b00000"));
    perPageChoice = new QComboBox(this);
    perPageChoice->setObjectName(QStringLiteral("perPageChoice"));
    perPageChoice->addItems({QStringLiteral("6 (una serie por hoja)"), QStringLiteral("3 (letra grande)")});
    colourChoice = new QComboBox(this);
    colourChoice->setObjectName(QStringLiteral("colourChoice"));
    colourChoice->addItems(colourNames());
    serialsLine = new QLabel(this);
    serialsLine->setObjectName(QStringLiteral("serialsLine"));

    auto *buttons = new QDialogButtonBox(this);
    printButton = buttons->addButton(QStringLiteral("Imprimir"), QDialogButtonBox::AcceptRole);
    printButton->setObjectName(QStringLiteral("printButton"));
    printButton->setDefault(true);
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Número de series:"), countField);
    form->addRow(QString(), countProblem);
    form->addRow(QStringLiteral("Cartones por hoja:"), perPageChoice);
    form->addRow(QStringLiteral("Color:"), colourChoice);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(serialsLine);
    layout->addWidget(buttons);

    connect(countField, &QLineEdit::textChanged, this, &SeriesDialog::countChanged);
    countChanged();
    countField->selectAll();
    countField->setFocus();
}

int SeriesDialog::seriesCount() const
{
    bool ok = false;
    const int count = countField->text().trimmed().toInt(&ok);
    return ok && count >= 1 && count <= mostSeries ? count : 0;
}

bool SeriesDialog::largePrint() const
{
    return perPageChoice->currentIndex() == 1;
}

ColourValue SeriesDialog::colour() const
{
    return standardCardColours.at(static_cast<std::size_t>(std::max(0, colourChoice->currentIndex())));
}

void SeriesDialog::countChanged()
{
    const int count = seriesCount();
    printButton->setEnabled(count > 0);
    if (count == 0) {
        countProblem->setText(
            QStringLiteral("Escriba un número entero de series, del 1 al %1.").arg(mostSeries));
        countProblem->show();
        serialsLine->clear();
        return;
    }
    countProblem->hide();
    serialsLine->setText(QStringLiteral("Se numerarán del Nº %1 al Nº %2.")
                             .arg(m_firstSerial)
                             .arg(m_firstSerial + qint64{seriesCards} * count - 1));
}

} // namespace cantabola
