// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/PrizeBox.h"

#include "game/PrizeRound.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace cantabola {

PrizeBox::PrizeBox(PrizeRound &round, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
    , m_round(round)
{
    setObjectName(QStringLiteral("prizeBox"));
    setWindowTitle(QStringLiteral("Premio"));
    winnersLabel = new QLabel(this);
    winnersLabel->setObjectName(QStringLiteral("winnersLabel"));
    QFont large = winnersLabel->font();
    large.setPointSizeF(large.pointSizeF() * 1.5);
    large.setBold(true);
    winnersLabel->setFont(large);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *paid = buttons->addButton(QStringLiteral("Premio pagado"), QDialogButtonBox::AcceptRole);
    paid->setObjectName(QStringLiteral("paidButton"));
    paid->setDefault(true);
    buttons->addButton(QStringLiteral("Seguir sin pagar"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("goOnButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Escape and the close box pass over the prize as "Seguir sin pagar" does: nobody is paid by mistake.
    connect(this, &QDialog::accepted, this, [this] { m_round.pay(); });
    connect(this, &QDialog::rejected, this, [this] { m_round.goOnUnpaid(); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(winnersLabel);
    layout->addWidget(buttons);
}

void PrizeBox::refresh()
{
    QStringList lines;
    for (const PrizeWin &win : m_round.announced())
        lines << prizeText(win);
    winnersLabel->setText(lines.join(QLatin1Char('\n')));
    adjustSize();
}

} // namespace cantabola
