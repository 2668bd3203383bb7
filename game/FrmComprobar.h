#pragma once

// "Comprobar cartón": the operator types the numbers a player reads out and sees at once which have been
// drawn, with one line of verdict. Modal over the main window; the calling has been stopped before it opens.

#include "ClaimCheck.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;

namespace cantabola {

class Partida;

class FrmComprobar : public QDialog
{
    Q_OBJECT

public:
    FrmComprobar(const Partida &game, QWidget *parent);

    const ClaimVerdict &verdict() const { return m_verdict; }

signals:
    // The check changed as the operator typed: for whoever shows the claim to the room.
    void checked(const cantabola::ClaimVerdict &verdict);

private:
    void TxtNumeros_Change();

    const Partida &m_game;
    ClaimVerdict m_verdict;
    QLineEdit *TxtNumeros = nullptr;
    QListWidget *LstNumeros = nullptr;
    QLabel *LblVeredicto = nullptr;
};

} // namespace cantabola
