// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/ClaimDialog.h"

#include "game/Game.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace cantabola {

ClaimDialog::ClaimDialog(const Game &game, PrintedCardLookup lookup, bool numbered, QWidget *parent)
    : QDialog(parent)
    , m_game(game)
    , m_lookup(std::move(lookup))
{
    setObjectName(QStringLiteral("ClaimDialog"));
    setWindowTitle(QStringLiteral("Comprobar cartón"));
    setModal(true);

    auto *serialPrompt = new QLabel(QStringLiteral("Nº de cartón:"), this);
    cardNumberField = new QLineEdit(this);
    cardNumberField->setObjectName(QStringLiteral("cardNumberField"));
    serialPrompt->setBuddy(cardNumberField);
    // The card as printed, 3 rows of 9; shown while a card is found.
    cardGrid = new QTableWidget(rowsPerCard, columnsPerCard, this);
    cardGrid->setObjectName(QStringLiteral("cardGrid"));
    cardGrid->horizontalHeader()->hide();
    cardGrid->verticalHeader()->hide();
    cardGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    cardGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    cardGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    cardGrid->setSelectionMode(QAbstractItemView::NoSelection);
    cardGrid->setFocusPolicy(Qt::NoFocus);
    QFont cellFont = cardGrid->font();
    cellFont.setPointSizeF(cellFont.pointSizeF() * 1.4);
    cardGrid->setFont(cellFont);
    cardGrid->setMinimumHeight(110);
    cardGrid->hide();

    auto *prompt = new QLabel(QStringLiteral("Números del cartón:"), this);
    numbersField = new QLineEdit(this);
    numbersField->setObjectName(QStringLiteral("numbersField"));
    prompt->setBuddy(numbersField);
    numbersList = new QListWidget(this);
    numbersList->setObjectName(QStringLiteral("numbersList"));
    numbersList->setFlow(QListView::LeftToRight);
    numbersList->setWrapping(true);
    numbersList->setSelectionMode(QAbstractItemView::NoSelection);
    numbersList->setFocusPolicy(Qt::NoFocus);
    verdictLabel = new QLabel(this);
    verdictLabel->setObjectName(QStringLiteral("verdictLabel"));
    QFont verdictFont = verdictLabel->font();
    verdictFont.setBold(true);
    verdictLabel->setFont(verdictFont);
    verdictLabel->setWordWrap(true);
    // "Cerrar" has the reject role: Escape closes the dialog as it does.
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *close = buttons->addButton(QStringLiteral("Cerrar"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("CmdCerrar"));
    close->setAutoDefault(false);

    auto *bySerial = new QVBoxLayout;
    bySerial->addWidget(serialPrompt);
    bySerial->addWidget(cardNumberField);
    bySerial->addWidget(cardGrid);
    auto *byNumbers = new QVBoxLayout;
    byNumbers->addWidget(prompt);
    byNumbers->addWidget(numbersField);
    byNumbers->addWidget(numbersList, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(numbered ? bySerial : byNumbers, numbered ? 0 : 1);
    layout->addLayout(numbered ? byNumbers : bySerial, numbered ? 1 : 0);
    layout->addWidget(verdictLabel);
    layout->addWidget(buttons);
    resize(460, 420);
    QLineEdit *first = numbered ? cardNumberField : numbersField;
    setTabOrder(first, numbered ? numbersField : cardNumberField);
    first->setFocus();

    connect(cardNumberField, &QLineEdit::textChanged, this, &ClaimDialog::cardNumberChanged);
    connect(numbersField, &QLineEdit::textChanged, this, &ClaimDialog::numbersChanged);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    numbersChanged();
}

void ClaimDialog::numbersChanged()
{
    m_verdict = checkClaim(numbersField->text(), [this](int n) { return m_game.BolaSacada(n); });
    numbersList->clear();
    for (const CheckedNumber &checked : m_verdict.numbers) {
        // In words as well as in colour and weight, so that it reads on a monochrome projector too.
        auto *item = new QListWidgetItem(
            QStringLiteral("%1 %2")
                .arg(checked.number)
                .arg(checked.drawn ? QStringLiteral("✔ ha salido") : QStringLiteral("✘ no ha salido")),
            numbersList);
        QFont font = item->font();
        font.setBold(checked.drawn);
        item->setFont(font);
        item->setForeground(checked.drawn ? QColor(0x00, 0x70, 0x00) : QColor(0xB0, 0x00, 0x00));
    }
    verdictLabel->setText(m_verdict.summary);
    emit checked(m_verdict);
}

void ClaimDialog::cardNumberChanged()
{
    const CardCheck check
        = checkCard(cardNumberField->text(), m_lookup, [this](int n) { return m_game.BolaSacada(n); });
    cardGrid->setVisible(check.card.has_value());
    cardGrid->clearContents();
    for (int row = 1; check.card && row <= rowsPerCard; ++row) {
        for (int column = 1; column <= columnsPerCard; ++column) {
            const int n = check.card->cell(row, column).number;
            const bool drawn = check.drawn.at(static_cast<std::size_t>(cellAt(row, column) - 1));
            auto *item = new QTableWidgetItem(n ? QString::number(n) : QString());
            item->setTextAlignment(Qt::AlignCenter);
            // Drawn numbers white on dark and bold, so that they stand out on a monochrome projector too.
            QFont font = cardGrid->font();
            font.setBold(drawn);
            item->setFont(font);
            item->setBackground(!n ? QColor(0xA0, 0xA0, 0xA0) : drawn ? QColor(0x00, 0x60, 0x00) : Qt::white);
            item->setForeground(drawn ? Qt::white : Qt::black);
            cardGrid->setItem(row - 1, column - 1, item);
        }
    }
    verdictLabel->setText(check.summary);
    emit cardChecked(check);
}

} // namespace cantabola
