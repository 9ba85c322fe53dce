#pragma once
// The production main menu: a strip at the top-left corner with five menus,
// and below them a status bar with the company, the branch, the user and what
// the last long run did.
#include <QMainWindow>
#include <memory>

class QLabel;

namespace pcp {

class TMenuPcp : public QMainWindow {
    Q_OBJECT
public:
    // The entries open their screens through the program's screen registry.
    explicit TMenuPcp(QWidget* parent = nullptr);

    ~TMenuPcp() override;

    // Clears the parameter cache and reads it again for the current branch.
    void preparaParametros();
    // Places the strip at the top-left corner, as wide as the menus need and
    // as high as the menu bar and the status bar.
    void posiciona();
    // Company, branch and user as the session holds them now.
    void atualizaStatus();
    // Hides the menu, stops taking the results of long runs and deletes it
    // once the handler that called this has returned.
    void libera();

signals:
    void sair();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void abre(const QString& screen, const QString& entry);
    void abreConsPedidoProducao(int modo, const QString& entry);
    void baixaEstoqueMateriaPrima(const QString& entry);
    void naoDisponivel(const QString& screen, const QString& entry);
    void gravaCustoLista6();
    static QString textoServidor();

    QLabel* lbEmpresa;
    QLabel* lbFilial;
    QLabel* lbUsuario;
    QLabel* lbServidor;  // where the company's tables are, when on a server
    QLabel* lbResultado;
    std::unique_ptr<class ResultadoExecucaoScope> resultado_;
};

}  // namespace pcp
