// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmBolasCantadas.h"

#include "AppInfo.h"
#include "Partida.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace cantabola {

FrmBolasCantadas::FrmBolasCantadas(const Partida &game, Platform &platform, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_game(game)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("FrmBolasCantadas"));
    setWindowTitle(QStringLiteral("Bolas cantadas"));
    LstBolas = new QListWidget(this);
    LstBolas->setObjectName(QStringLiteral("LstBolas"));
    const auto button = [this](const char *name, const QString &caption) {
        auto *made = new QPushButton(caption, this);
        made->setObjectName(QLatin1String(name));
        return made;
    };
    QPushButton *copy = button("CmdCopiar", QStringLiteral("Copiar"));
    QPushButton *save = button("CmdGuardar", QStringLiteral("Guardar..."));
    QPushButton *close = button("CmdCerrar", QStringLiteral("Cerrar"));
    auto *row = new QHBoxLayout;
    row->addWidget(copy);
    row->addWidget(save);
    row->addStretch();
    row->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LstBolas, 1);
    layout->addLayout(row);
    resize(260, 420);

    connect(copy, &QPushButton::clicked, this, &FrmBolasCantadas::CmdCopiar_Click);
    connect(save, &QPushButton::clicked, this, &FrmBolasCantadas::CmdGuardar_Click);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Every change of the game, also during the automatic calling.
    connect(&game, &Partida::ballDrawn, this, &FrmBolasCantadas::refill);
    connect(&game, &Partida::ballTakenBack, this, &FrmBolasCantadas::refill);
    connect(&game, &Partida::drumReset, this, &FrmBolasCantadas::refill);
    connect(&game, &Partida::gameRestored, this, &FrmBolasCantadas::refill);
    refill();
}

void FrmBolasCantadas::refill()
{
    // Rows are written only where they differ: a draw adds one, an undo takes the last off.
    const std::vector<int> &order = m_game.drawOrder();
    while (LstBolas->count() > static_cast<int>(order.size()))
        delete LstBolas->takeItem(LstBolas->count() - 1);
    for (int i = 0; i < static_cast<int>(order.size()); ++i) {
        const QString row = QStringLiteral("%1. %2").arg(i + 1).arg(order[static_cast<std::size_t>(i)]);
        if (i >= LstBolas->count())
            LstBolas->addItem(row);
        else if (LstBolas->item(i)->text() != row)
            LstBolas->item(i)->setText(row);
    }
    LstBolas->scrollToBottom();
}

QString FrmBolasCantadas::numbersText() const
{
    QStringList lines;
    for (const int n : m_game.drawOrder())
        lines << QString::number(n);
    return lines.join(QLatin1Char('\n'));
}

void FrmBolasCantadas::CmdCopiar_Click()
{
    QGuiApplication::clipboard()->setText(numbersText());
}

void FrmBolasCantadas::CmdGuardar_Click()
{
    const QString path = m_platform.files.saveFileName(this, QStringLiteral("Guardar las bolas cantadas"),
                                                       QStringLiteral("bolas-cantadas.txt"));
    if (path.isEmpty())
        return;
    QString text;
    const std::vector<int> &order = m_game.drawOrder();
    const std::vector<QDateTime> &times = m_game.drawTimes();
    for (std::size_t i = 0; i < order.size(); ++i)
        text += QStringLiteral("%1\t%2\t%3\n")
                    .arg(i + 1)
                    .arg(order[i])
                    .arg(times[i].toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit())
        return;
    m_platform.messages.show(this,
                             {QStringLiteral("No se pudo guardar la lista en %1.").arg(path), app::title,
                              MessageIcon::Critical, MessageButtons::Ok});
}

} // namespace cantabola
