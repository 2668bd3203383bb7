#include "FrmComprobar.h"

#include "Partida.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace cantabola {

FrmComprobar::FrmComprobar(const Partida &game, QWidget *parent)
    : QDialog(parent)
    , m_game(game)
{
    setObjectName(QStringLiteral("FrmComprobar"));
    setWindowTitle(QStringLiteral("Comprobar cartón"));
    setModal(true);

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
    layout->addWidget(prompt);
    layout->addWidget(TxtNumeros);
    layout->addWidget(LstNumeros, 1);
    layout->addWidget(LblVeredicto);
    layout->addWidget(buttons);
    resize(420, 300);

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
            QStringLiteral("%1 %2").arg(checked.number).arg(checked.drawn ? QStringLiteral("✔ ha salido")
                                                                          : QStringLiteral("✘ no ha salido")),
            LstNumeros);
        QFont font = item->font();
        font.setBold(checked.drawn);
        item->setFont(font);
        item->setForeground(checked.drawn ? QColor(0x00, 0x70, 0x00) : QColor(0xB0, 0x00, 0x00));
    }
    LblVeredicto->setText(m_verdict.summary);
    emit checked(m_verdict);
}

} // namespace cantabola
