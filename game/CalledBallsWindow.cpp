// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/CalledBallsWindow.h"

#include "game/Game.h"
#include "platform/AppInfo.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace cantabola {

CalledBallsWindow::CalledBallsWindow(const Game &game, Platform &platform, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_game(game)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("CalledBallsWindow"));
    setWindowTitle(QStringLiteral("Bolas cantadas"));
    ballsList = new QListWidget(this);
    ballsList->setObjectName(QStringLiteral("ballsList"));
    const auto button = [this](const char *name, const QString &caption) {
        auto *made = new QPushButton(caption, this);
        made->setObjectName(QLatin1String(name));
        return made;
    };
    QPushButton *copy = button("copyButton", QStringLiteral("Copiar"));
    QPushButton *save = button("saveButton", QStringLiteral("Guardar..."));
    QPushButton *close = button("CmdCerrar", QStringLiteral("Cerrar"));
    auto *row = new QHBoxLayout;
    row->addWidget(copy);
    row->addWidget(save);
    row->addStretch();
    row->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ballsList, 1);
    layout->addLayout(row);
    resize(260, 420);

    connect(copy, &QPushButton::clicked, this, &CalledBallsWindow::copyClicked);
    connect(save, &QPushButton::clicked, this, &CalledBallsWindow::saveClicked);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Every change of the game, also during the automatic calling.
    connect(&game, &Game::ballDrawn, this, &CalledBallsWindow::refill);
    connect(&game, &Game::ballTakenBack, this, &CalledBallsWindow::refill);
    connect(&game, &Game::drumReset, this, &CalledBallsWindow::refill);
    connect(&game, &Game::gameRestored, this, &CalledBallsWindow::refill);
    refill();
}

void CalledBallsWindow::refill()
{
    // Rows are written only where they differ: a draw adds one, an undo takes the last off.
    const std::vector<int> &order = m_game.drawOrder();
    while (ballsList->count() > static_cast<int>(order.size()))
        delete ballsList->takeItem(ballsList->count() - 1);
    for (int i = 0; i < static_cast<int>(order.size()); ++i) {
        const QString row = QStringLiteral("%1. %2").arg(i + 1).arg(order[static_cast<std::size_t>(i)]);
        if (i >= ballsList->count())
            ballsList->addItem(row);
        else if (ballsList->item(i)->text() != row)
            ballsList->item(i)->setText(row);
    }
    ballsList->scrollToBottom();
}

QString CalledBallsWindow::numbersText() const
{
    QStringList lines;
    for (const int n : m_game.drawOrder())
        lines << QString::number(n);
    return lines.join(QLatin1Char('\n'));
}

void CalledBallsWindow::copyClicked()
{
    QGuiApplication::clipboard()->setText(numbersText());
}

void CalledBallsWindow::saveClicked()
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
