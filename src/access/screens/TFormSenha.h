#pragma once
// The access-code password dialog and VerificaAcesso, the checkpoint every
// screen calls (157 chooses the branch, 101 the raw-material write-off, ...).
#include "L_AutSen.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QWidget;

namespace pcp {

class TFormSenha : public QDialog {
    Q_OBJECT
public:
    explicit TFormSenha(QWidget* parent = nullptr);

    // Gets the dialog ready for the checkpoint: caption, the user panel when
    // the checkpoint asks for the user (creating the month's access log), the
    // Inf_Usuario notice in variant 164, cleared edits, focus on EdSenha.
    void prepara(Store& store, const CodigoAcesso& acesso);
    // The access log noted by prepara(); empty when the user is not asked.
    const QString& logAcesso() const { return logAcesso_; }
    SenhaDigitada digitado() const;

    QLineEdit* EdSenha;
    QWidget* Panel1;
    QLineEdit* edUsuario;
    QLineEdit* edSenhaUsu;
    QPushButton* btOK;
    QPushButton* btCancelar;

private:
    void EdSenhaReturnPressed();

    QString logAcesso_;
};

// True when access is granted: codes missing from Acesso or without a password
// pass at once; others ask for the password (and the user when the code says
// so). Clears the access context whatever the outcome. Uses the company store
// of DMFilial().
bool VerificaAcesso(int codigo);
bool VerificaAcesso(Store& store, int codigo);

}  // namespace pcp
