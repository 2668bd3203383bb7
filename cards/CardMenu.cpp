#include "CardMenu.h"

#include "FrmBingo.h"
#include "FrmCartones.h"

#include <QAction>
#include <QPushButton>

namespace cantabola {

CardMenu::CardMenu(FrmBingo &main)
    : QObject(&main)
    , m_main(main)
{
    setObjectName(QStringLiteral("CardMenu"));
    for (int n = 1; n <= 4; ++n) {
        QAction *item = main.SM_Cards.at(static_cast<std::size_t>(n));
        if (item)
            connect(item, &QAction::triggered, this, [this, n] { SM_Card_Click(n); });
    }
    if (main.CmbImprimir)
        connect(main.CmbImprimir, &QPushButton::clicked, this, &CardMenu::CmbImprimir_Click);
}

FrmCartones &CardMenu::cardWindow()
{
    if (!m_window)
        m_window = new FrmCartones(m_main);
    return *m_window;
}

void CardMenu::SM_Card_Click(int n)
{
    // The item has already toggled its own tick when it was chosen.
    QAction *chosen = m_main.SM_Cards.at(static_cast<std::size_t>(n));
    if (chosen->isChecked()) {
        for (int other = 1; other <= 4; ++other) {
            if (other != n)
                m_main.SM_Cards.at(static_cast<std::size_t>(other))->setChecked(false);
        }
    }
    m_main.NumberOfCards = static_cast<std::uint8_t>(n);
    cardWindow().showModal();
}

void CardMenu::CmbImprimir_Click()
{
    cardWindow().showModal();
}

void installCardWindow(FrmBingo &main)
{
    new CardMenu(main);
}

} // namespace cantabola
