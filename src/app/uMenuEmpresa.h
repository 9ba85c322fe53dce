#pragma once
// The company screen, the program's main window: the list of companies.
#include <QWidget>

class QTableWidget;
class QPushButton;

namespace pcp {

struct EmpresaRow;

class TfoMenuEmpresa : public QWidget {
    Q_OBJECT
public:
    explicit TfoMenuEmpresa(QWidget* parent = nullptr);

    void setRows(const QList<EmpresaRow>& rows);
    int currentRow() const;
    void setCurrentRow(int row);

signals:
    void escolhida();   // OK or a double-click
    void sair();        // "Sair" or the window closed
    void localiza();    // pop-up entry "Localiza Empresa"

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableWidget* DBGrid1;
    QPushButton* Button1;
    QPushButton* Button2;
    bool closingByProgram_ = false;
    friend class Aplicacao;
};

}  // namespace pcp
