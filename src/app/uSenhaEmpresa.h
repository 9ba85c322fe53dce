#pragma once
// The company password prompt.
#include <QDialog>

class QLineEdit;

namespace pcp {

class TfoSenhaEmpresa : public QDialog {
    Q_OBJECT
public:
    explicit TfoSenhaEmpresa(QWidget* parent = nullptr);
    // Shows the prompt modally; the typed text, or empty text when cancelled.
    QString pergunta();

private:
    QLineEdit* MaskEdit1;
};

}  // namespace pcp
