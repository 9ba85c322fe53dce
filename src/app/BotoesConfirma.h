#pragma once
// The command row of the start-up windows: "OK" as the window's default button
// and the way out beside it, packed to the right.
#include <QPushButton>
#include <QString>

class QBoxLayout;

namespace pcp {

struct BotoesConfirma {
    QPushButton* ok;
    QPushButton* saida;
    QBoxLayout* linha;
};

BotoesConfirma botoesConfirma(QWidget* window, const QString& okName, const QString& saidaName,
                              const QString& saidaCaption);

// The same row, its buttons tied to the window's slots.
template <typename Window, typename OnOk, typename OnSaida>
BotoesConfirma botoesConfirma(Window* window, const QString& okName, const QString& saidaName,
                              const QString& saidaCaption, OnOk onOk, OnSaida onSaida)
{
    const BotoesConfirma row = botoesConfirma(window, okName, saidaName, saidaCaption);
    QObject::connect(row.ok, &QPushButton::clicked, window, onOk);
    QObject::connect(row.saida, &QPushButton::clicked, window, onSaida);
    return row;
}

}  // namespace pcp
