// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmComprobar.h"

#include "Partida.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace cantabola {

FrmComprobar::FrmComprobar(const Partida &game, CardLookup lookup, QWidget *parent)
    : QDialog(parent)
    , m_game(game)
    , m_lookup(std::move(lookup))
{
    setObjectName(QStringLiteral("FrmComprobar"));
    setWindowTitle(QStringLiteral("Comprobar cartón"));
    setModal(true);

    auto *serialPrompt = new QLabel(QStringLiteral("Nº de cartón:"), this);
    TxtCarton = new QLineEdit(this);
    TxtCarton->setObjectName(QStringLiteral("TxtCarton"));
    serialPrompt->setBuddy(TxtCarton);
    // The card as printed, 3 rows of 9; shown while a card is found.
    TblCarton = new QTableWidget(rowsPerCard, columnsPerCard, this);
    TblCarton->setObjectName(QStringLiteral("TblCarton"));
    TblCarton->horizontalHeader()->hide();
    TblCarton->verticalHeader()->hide();
    TblCarton->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    TblCarton->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    TblCarton->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TblCarton->setSelectionMode(QAbstractItemView::NoSelection);
    TblCarton->setFocusPolicy(Qt::NoFocus);
    QFont cellFont = TblCarton->font();
    cellFont.setPointSizeF(cellFont.pointSizeF() * 1.4);
    TblCarton->setFont(cellFont);
    TblCarton->setMinimumHeight(110);
    TblCarton->hide();

    auto *prompt = new QLabel(QStringLiteral("Números del cartón:"), this);
    TxtNumeros = new QLineEdit(this);
    TxtNumeros->setObjectName(QStringLiteral("TxtNumeros"));
    prompt->setBuddy(TxtNumeros);
    LstNumeros = new QListWidget(this);
    LstNumeros->setObjectName(QStringLiteral("LstNumeros"));
    LstNumeros->setFlow(QListView::LeftToRight);
    LstNumeros->setWrapping(true);
    LstNumeros->setSelectionMode(QAbstractItemView::NoSelection);
    LstNumeros->setFocusPolicy(Qt::NoFocus);
    LblVeredicto = new QLabel(this);
    LblVeredicto->setObjectName(QStringLiteral("LblVeredicto"));
    QFont verdictFont = LblVeredicto->font();
    verdictFont.setBold(true);
    LblVeredicto->setFont(verdictFont);
    LblVeredicto->setWordWrap(true);
    // "Cerrar" has the reject role: Escape closes the dialog as it does.
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *close = buttons->addButton(QStringLiteral("Cerrar"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("CmdCerrar"));
    close->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(serialPrompt);
    layout->addWidget(TxtCarton);
    layout->addWidget(TblCarton);
    layout->addWidget(prompt);
    layout->addWidget(TxtNumeros);
    layout->addWidget(LstNumeros, 1);
    layout->addWidget(LblVeredicto);
    layout->addWidget(buttons);
    resize(460, 420);

    connect(TxtCarton, &QLineEdit::textChanged, this, &FrmComprobar::TxtCarton_Change);
    connect(TxtNumeros, &QLineEdit::textChanged, this, &FrmComprobar::TxtNumeros_Change);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    TxtNumeros_Change();
}

void FrmComprobar::TxtNumeros_Change()
{
    m_verdict = checkClaim(TxtNumeros->text(), [this](int n) { return m_game.BolaSacada(n); });
    LstNumeros->clear();
    for (const CheckedNumber &checked : m_verdict.numbers) {
        // In words as well as in colour and weight, so that it reads on a monochrome projector too.
        auto *item = new QListWidgetItem(
            QStringLiteral("%1 %2")
                .arg(checked.number)
                .arg(checked.drawn ? QStringLiteral("✔ ha salido") : QStringLiteral("✘ no ha salido")),
            LstNumeros);
        QFont font = item->font();
        font.setBold(checked.drawn);
        item->setFont(font);
        item->setForeground(checked.drawn ? QColor(0x00, 0x70, 0x00) : QColor(0xB0, 0x00, 0x00));
    }
    LblVeredicto->setText(m_verdict.summary);
    emit checked(m_verdict);
}

void FrmComprobar::TxtCarton_Change()
{
    const CardCheck check
        = checkCard(TxtCarton->text(), m_lookup, [this](int n) { return m_game.BolaSacada(n); });
    TblCarton->setVisible(check.grid.has_value());
    TblCarton->clearContents();
    for (int k = 1; check.grid && k <= cellsPerCard; ++k) {
        const auto cell = static_cast<std::size_t>(k - 1);
        const int n = check.grid->at(cell);
        auto *item = new QTableWidgetItem(n ? QString::number(n) : QString());
        item->setTextAlignment(Qt::AlignCenter);
        // Drawn numbers white on dark and bold, so that they stand out on a monochrome projector too.
        QFont font = TblCarton->font();
        font.setBold(check.drawn.at(cell));
        item->setFont(font);
        item->setBackground(!n                         ? QColor(0xA0, 0xA0, 0xA0)
                                : check.drawn.at(cell) ? QColor(0x00, 0x60, 0x00)
                                                       : Qt::white);
        item->setForeground(check.drawn.at(cell) ? Qt::white : Qt::black);
        TblCarton->setItem(cellRow(k) - 1, cellColumn(k) - 1, item);
    }
    LblVeredicto->setText(check.summary);
    emit cardChecked(check);
}

} // namespace cantabola
