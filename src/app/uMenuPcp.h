#pragma once
// The production main menu: a strip at the top-left corner with five menus.
#include <QMainWindow>

namespace pcp {

class TMenuPcp : public QMainWindow {
    Q_OBJECT
public:
    // The entries open their screens through the program's screen registry.
    explicit TMenuPcp(QWidget* parent = nullptr);

    // Clears the parameter cache and reads it again for the current branch.
    void preparaParametros();

signals:
    void sair();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void abre(const QString& screen, const QString& entry);
    void abreConsPedidoProducao(int modo, const QString& entry);
    void baixaEstoqueMateriaPrima(const QString& entry);
    void naoDisponivel(const QString& screen, const QString& entry);
    void gravaCustoLista6();
};

}  // namespace pcp
