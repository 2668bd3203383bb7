// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/CardsInPlayDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cantabola {

QString CardsInPlayDialog::countText(qint64 count)
{
    return count == 1 ? QStringLiteral("1 cartón en juego.")
                      : QStringLiteral("%1 cartones en juego.").arg(count);
}

CardsInPlayDialog::CardsInPlayDialog(const QString &serials, bool twoLines, bool stopOnPrize,
                                     MissingSerial firstMissing, QWidget *parent)
    : QDialog(parent)
    , m_firstMissing(std::move(firstMissing))
{
    setObjectName(QStringLiteral("cardsInPlayDialog"));
    setWindowTitle(QStringLiteral("Cartones en juego"));
    setModal(true);

    serialsField = new QLineEdit(serials, this);
    serialsField->setObjectName(QStringLiteral("serialsField"));
    serialsField->setPlaceholderText(QStringLiteral("1-300, 451-480, 1002"));
    countLine = new QLabel(this);
    countLine->setObjectName(QStringLiteral("countLine"));
    twoLinesBox = new QCheckBox(QStringLiteral("Jugar también a dos líneas"), this);
    twoLinesBox->setObjectName(QStringLiteral("twoLinesBox"));
    twoLinesBox->setChecked(twoLines);
    stopBox = new QCheckBox(QStringLiteral("Parar al haber premio"), this);
    stopBox->setObjectName(QStringLiteral("stopBox"));
    stopBox->setChecked(stopOnPrize);

    auto *buttons = new QDialogButtonBox(this);
    acceptButton = buttons->addButton(QStringLiteral("Aceptar"), QDialogButtonBox::AcceptRole);
    acceptButton->setObjectName(QStringLiteral("acceptButton"));
    acceptButton->setDefault(true);
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Números de cartón:"), serialsField);
    form->addRow(QString(), countLine);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(twoLinesBox);
    layout->addWidget(stopBox);
    layout->addWidget(buttons);
    setMinimumWidth(420);

    connect(serialsField, &QLineEdit::textChanged, this, &CardsInPlayDialog::serialsChanged);
    serialsChanged();
    serialsField->setFocus();
}

bool CardsInPlayDialog::twoLines() const
{
    return twoLinesBox->isChecked();
}

bool CardsInPlayDialog::stopOnPrize() const
{
    return stopBox->isChecked();
}

void CardsInPlayDialog::serialsChanged()
{
    m_parsed = parseSerialRanges(serialsField->text());
    QString problem;
    if (!m_parsed.invalid.isEmpty())
        problem = QStringLiteral("Rango no válido: %1").arg(m_parsed.invalid);
    else if (const std::optional<qint64> missing
             = m_parsed.ranges.empty() ? std::nullopt : m_firstMissing(m_parsed.ranges))
        problem = QStringLiteral("No hay ningún cartón con el Nº %1.").arg(*missing);
    acceptButton->setEnabled(problem.isEmpty());
    countLine->setText(problem.isEmpty() ? countText(m_parsed.count()) : problem);
}

} // namespace cantabola
