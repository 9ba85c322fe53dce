#pragma once
// The start-up and the company/branch flow: from the company screen to the
// production menu and back.
#include "Empresas.h"
#include "Paths.h"
#include "uMenuFilial.h"
#include "uMenuPcp.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

namespace pcp {

class TDMFilial;
class TfoMenuEmpresa;

class Aplicacao : public QObject {
    Q_OBJECT
public:
    // `args` are the command-line arguments after the program name and the
    // folder options.
    Aplicacao(Paths paths, QStringList args, QObject* parent = nullptr);
    ~Aplicacao() override;

    // Creates the screens and shows the company screen (the splash is the caller's).
    void start();
    bool finished() const { return finished_; }

    // Chooses company and branch without any screen (screen capture, batch use).
    bool entraDireto(int indiceEmpresa, int filial);

    TfoMenuEmpresa* companyScreen() const { return company_; }
    TMenuFilial* branchScreen() const { return branch_; }
    TMenuPcp* menu() const { return menu_; }
    TDMFilial* branchModule() const { return dm_.get(); }
    const Paths& paths() const { return paths_; }

    // The company screen's timer, 2000 ms; tests may shorten it.
    static void setTimerInterval(int ms);

    void bringToFront();

signals:
    void programEnded();

private:
    void companyScreenShown();
    void timerFired();
    void choose();
    // False after telling the user why; `servidorFora` says whether the
    // company's server could not be reached.
    bool openCompany(bool* servidorFora = nullptr);
    void showBranchScreen();
    void branchOk();
    void branchSair();
    void closeMenu();
    void endProgram();
    void externalLogin();
    void localizaEmpresa();
    void closeOpenScreens();
    void cleanScratchFiles();
    void preselectLastCompany();
    void showList();

    Paths paths_;
    QStringList args_;
    Empresas empresas_;
    QTimer timer_;
    TfoMenuEmpresa* company_ = nullptr;
    QPointer<TMenuFilial> branch_;
    QPointer<TMenuPcp> menu_;
    std::shared_ptr<class Store> store_;
    std::unique_ptr<TDMFilial> dm_;
    std::unique_ptr<class TDMClifor> clifor_;
    bool singleCompany_ = false;
    bool finished_ = false;
    bool externalLogin_ = false;
};

}  // namespace pcp
