// SPDX-License-Identifier: GPL-3.0-or-later
#include "network/BoardState.h"

#include "room/RoomView.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cantabola {

namespace {

QByteArray compact(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray escaped(const QString &text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&#39;")).toUtf8();
}

} // namespace

QByteArray stateJson(const BoardState &state)
{
    QJsonArray balls;
    for (const int n : state.order)
        balls.append(n);
    QJsonObject object{{QStringLiteral("bolas"), balls}};
    if (!state.prize.isEmpty())
        object.insert(QStringLiteral("premio"), state.prize);
    if (!state.winners.isEmpty())
        object.insert(QStringLiteral("ganadores"), QJsonArray::fromStringList(state.winners));
    return compact(object);
}

QByteArray cardJson(const PrintedCard &card)
{
    QJsonArray cells;
    for (const CardCell &cell : card.card.cells())
        cells.append(cell.number);
    return compact({{QStringLiteral("serie"), card.serial},
                    {QStringLiteral("texto"), serialText(card.serial)},
                    {QStringLiteral("celdas"), cells}});
}

QByteArray unknownCardJson(qint64 serial)
{
    return compact({{QStringLiteral("error"),
                     QStringLiteral("No hay ningún cartón con el %1.").arg(serialText(serial))}});
}

QByteArray boardPage(const BoardState &state, const QByteArray &pageTemplate)
{
    const RoomView view = roomView(state.order);
    QByteArray previous;
    for (const int n : view.previous)
        previous += "<li>" + QByteArray::number(n) + "</li>";
    QByteArray board;
    for (int n = 1; n <= 90; ++n) {
        board += view.drawn.at(static_cast<std::size_t>(n)) ? "<li class=\"salida\">" : "<li>";
        board += QByteArray::number(n) + "</li>";
    }
    QByteArray prize;
    if (!state.prize.isEmpty())
        prize = "Se juega: " + escaped(state.prize);
    QByteArray page = pageTemplate;
    page.replace("{{ACTUAL}}", view.current ? QByteArray::number(view.current) : QByteArray("–"))
        .replace("{{ANTERIORES}}", previous)
        .replace("{{CUENTA}}", QByteArray::number(view.count))
        .replace("{{TABLERO}}", board)
        .replace("{{PREMIO}}", prize)
        .replace("{{ESTADO}}", escaped(QString::fromUtf8(stateJson(state))));
    return page;
}

} // namespace cantabola
