#include "Aplicacao.h"

#include "Messages.h"
#include "Parametros.h"
#include "Sessao.h"
#include "TDMClifor.h"
#include "TDMFilial.h"
#include "TableRoutines.h"
#include "ScreenRegistry.h"
#include "Tabelas.h"
#include "Telas.h"
#include "uMenuEmpresa.h"
#include "uMenuFilial.h"
#include "uMenuPcp.h"
#include "uSenhaEmpresa.h"
#include "L_AutSen.h"
#include "TFormSenha.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
int timerInterval = 2000;
}

void Aplicacao::setTimerInterval(int ms) { timerInterval = ms; }

Aplicacao::Aplicacao(Paths paths, QStringList args, QObject* parent)
    : QObject(parent), paths_(std::move(paths)), args_(std::move(args))
{
    for (QString& a : args_)
        a = a.trimmed();
    externalLogin_ = !args_.isEmpty() && args_.first() == u"Os_Exec"_s;
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &Aplicacao::timerFired);
    setProgramFolder(paths_.programa);
    declaraTabelas();
    registraTelas();
}

Aplicacao::~Aplicacao()
{
    delete menu_;
    delete branch_;
    delete company_;
    setDMFilial(nullptr);
    setDMClifor(nullptr);
}

void Aplicacao::start()
{
    // the program ends through endProgram only: a branch screen released while
    // it is the only window on screen must not end it
    QGuiApplication::setQuitOnLastWindowClosed(false);
    company_ = new TfoMenuEmpresa;
    connect(company_, &TfoMenuEmpresa::escolhida, this, &Aplicacao::choose);
    connect(company_, &TfoMenuEmpresa::sair, this, &Aplicacao::endProgram);
    connect(company_, &TfoMenuEmpresa::localiza, this, &Aplicacao::localizaEmpresa);
    companyScreenShown();
}

void Aplicacao::bringToFront()
{
    QWidget* w = menu_ ? static_cast<QWidget*>(menu_) : branch_ ? static_cast<QWidget*>(branch_) : company_;
    if (w && w->isVisible()) {
        w->raise();
        w->activateWindow();
    }
}

void Aplicacao::cleanScratchFiles()
{
    QDir dir(paths_.programa);
    for (const QString& f : dir.entryList({u"*.lck"_s, u"_qsq*.*"_s}, QDir::Files))
        dir.remove(f);
}

void Aplicacao::companyScreenShown()
{
    // the company list upgrades its own layout when it is opened
    cleanScratchFiles();
    if (!empresas_.open(paths_.empresaDb()) && empresas_.error() &&
        empresas_.error()->kind() == DbErrorKind::Connection) {
        // the company list is on a server that does not answer: nothing to choose from
        mostraErro(empresas_.error()->message());
        endProgram();
        return;
    }
    company_->setRows(empresas_.rows());
    timer_.start(timerInterval);
    if (externalLogin_)
        externalLogin();
}

void Aplicacao::showList()
{
    company_->show();
    company_->raise();
    company_->activateWindow();
}

void Aplicacao::timerFired()
{
    if (singleCompany_) {
        if (empresas_.count() > 1)
            showList();
        else
            endProgram();
        return;
    }
    if (empresas_.count() > 1) {
        if (empresas_.allSameGroup()) {
            showList();
        } else {
            const QString answer = pedeTexto(u"Grupo"_s, u"Codigo"_s).value_or(QString());
            const Empresas::GroupResult r = empresas_.restrictToGroup(answer);
            if (r != Empresas::GroupResult::Ok) {
                if (r == Empresas::GroupResult::NotFound)
                    mostraMensagem(u"Grupo não cadastrado"_s);
                mostraMensagem(u"Acesso negado"_s);
                endProgram();
                return;
            }
            company_->setRows(empresas_.rows());
            if (empresas_.count() > 1)
                showList();
            else {
                choose();
                return;
            }
        }
    } else {
        choose();
        return;
    }
    preselectLastCompany();
}

void Aplicacao::preselectLastCompany()
{
    const QString last = readIniValue(paths_.loginIni(), u"BaseDadosUltLogin"_s, u"Base"_s);
    const int i = last.isEmpty() ? -1 : empresas_.indexOfNome(last);
    if (i >= 0)
        company_->setCurrentRow(i);
}

void Aplicacao::localizaEmpresa()
{
    const auto nome = pedeTexto(u"Nome Empresa"_s, u"Nome"_s);
    const int i = nome ? empresas_.indexOfNome(*nome) : -1;
    if (i >= 0)
        company_->setCurrentRow(i);
}

void Aplicacao::externalLogin()
{
    if (!empresas_.isOpen())
        empresas_.open(paths_.empresaDb());
    const int i = empresas_.indexOfCodigo(args_.value(1).toInt());
    if (i >= 0)
        company_->setCurrentRow(i);
    Sessao& s = sessao();
    s.LoginExterno = true;
    s.BaseLogin = paths_.baseLogin();
    s.UsuarioAtual = args_.value(3);
    s.NivelUsuario = args_.value(4);
    LimpaCachePermissoes();
    LimpaCacheParametros();
    timer_.stop();
    choose();
}

void Aplicacao::choose()
{
    const int current = empresas_.isOpen() ? std::max(company_->currentRow(), 0) : -1;
    if (empresas_.isOpen() && current < empresas_.count() && !empresas_.rows()[current].PWD.isEmpty()) {
        TfoSenhaEmpresa prompt(company_);
        if (prompt.pergunta() != empresas_.rows()[current].PWD) {
            mostraMensagem(u"Senha invalida"_s);
            endProgram();
            return;
        }
    }
    if (empresas_.count() < 2)
        singleCompany_ = true;
    preencheSessaoEmpresa(sessao(), empresas_, current, paths_);
    bool servidorFora = false;
    if (!openCompany(&servidorFora)) {
        // a company whose server does not answer: the user may choose another
        if (servidorFora && !externalLogin_ && empresas_.count() > 1) {
            showList();
            return;
        }
        endProgram();
        return;
    }
    if (args_.isEmpty())
        company_->hide();
    showBranchScreen();
}

bool Aplicacao::openCompany(bool* servidorFora)
{
    closeOpenScreens();
    // screens kept between uses hold the previous company's tables
    ScreenRegistry::instance().destroyAll();
    setDMFilial(nullptr);
    setDMClifor(nullptr);
    clifor_.reset();
    dm_.reset();
    store_.reset();
    // without a company table the configured data folder is the company
    const QString folder = sessao().DiretorioEmpresa.isEmpty() ? paths_.dados : sessao().DiretorioEmpresa;
    try {
        QDir().mkpath(folder);
        store_ = Store::openCompany(folder);
        dm_ = std::make_unique<TDMFilial>(store_);
        setDMFilial(dm_.get());
        clifor_ = std::make_unique<TDMClifor>(store_);
        setDMClifor(clifor_.get());
        return true;
    } catch (const DbError& e) {
        setDMClifor(nullptr);
        clifor_.reset();
        setDMFilial(nullptr);
        dm_.reset();
        store_.reset();
        if (servidorFora)
            *servidorFora = e.kind() == DbErrorKind::Connection;
        mostraErro(e.message());
        return false;
    }
}

void Aplicacao::showBranchScreen()
{
    if (!branch_) {
        branch_ = new TMenuFilial;
        connect(branch_, &TMenuFilial::ok, this, &Aplicacao::branchOk);
        connect(branch_, &TMenuFilial::sair, this, &Aplicacao::branchSair);
    }
    dm_->openBranchTables();
    if (branch_->ComboBox1->currentIndex() < 0) {
        TableCursor& f = dm_->TFilial;
        for (f.first(); !f.eof(); f.next())
            branch_->ComboBox1->addItem(f.asString(u"NOME"_s));
        branch_->ComboBox1->setCurrentIndex(branch_->ComboBox1->count() > 0 ? 0 : -1);
    }
    branch_->adjustSize();
    branch_->show();
    branch_->raise();
    branch_->activateWindow();
}

void Aplicacao::branchOk()
{
    const QString nome = branch_->ComboBox1->currentText();
    TableCursor& f = dm_->TFilial;
    if (nome.isEmpty() || !f.locate({u"NOME"_s}, {nome}, true)) {
        mostraMensagem(u"Nenhuma filial cadastrada para esta empresa"_s);
        return;
    }
    if (!VerificaAcesso(157))
        return;
    branch_->ComboBox1->setEnabled(false);
    Sessao& s = sessao();
    s.FilialAtual = int(f.asInteger(u"Filial"_s));
    s.NomeFilial = f.asString(u"NOME"_s);
    s.TermServ = f.asBoolean(u"TermServ"_s);
    s.FatModNf = int(f.asInteger(u"FATMODNF"_s));
    s.ModuloAtual = u"PCP"_s;
    if (!menu_) {
        menu_ = new TMenuPcp;
        connect(menu_, &TMenuPcp::sair, this, &Aplicacao::closeMenu);
    }
    menu_->preparaParametros();
    menu_->atualizaStatus();
    menu_->posiciona();
    menu_->show();
    branch_->hide();
}

void Aplicacao::closeMenu()
{
    if (menu_)
        menu_->libera();
    menu_ = nullptr;
    if (branch_)
        branch_->show();
}

void Aplicacao::closeOpenScreens()
{
    ScreenRegistry::instance().closeAll();
    if (menu_) {
        menu_->libera();
        menu_ = nullptr;
    }
}

void Aplicacao::branchSair()
{
    if (!confirma(u"Deseja encerrar do programa?"_s))
        return;
    // the launcher chose the company: going back would only repeat its login
    if (externalLogin_) {
        endProgram();
        return;
    }
    closeOpenScreens();
    if (dm_)
        dm_->closeAll();
    branch_->hide();
    branch_->deleteLater();
    branch_ = nullptr;
    companyScreenShown();
}

bool Aplicacao::entraDireto(int indiceEmpresa, int filial)
{
    company_ = company_ ? company_ : new TfoMenuEmpresa;
    empresas_.open(paths_.empresaDb());
    preencheSessaoEmpresa(sessao(), empresas_, empresas_.isOpen() ? indiceEmpresa : -1, paths_);
    if (!openCompany())
        return false;
    dm_->openBranchTables();
    if (!dm_->positionOn(filial))
        return false;
    Sessao& s = sessao();
    s.FilialAtual = filial;
    s.NomeFilial = dm_->TFilial.asString(u"NOME"_s);
    s.FatModNf = int(dm_->TFilial.asInteger(u"FATMODNF"_s));
    s.ModuloAtual = u"PCP"_s;
    return true;
}

void Aplicacao::endProgram()
{
    if (finished_)
        return;
    finished_ = true;
    timer_.stop();
    closeOpenScreens();
    if (dm_)
        dm_->closeAll();
    if (branch_)
        branch_->hide();
    company_->closingByProgram_ = true;
    company_->close();
    empresas_.close();
    emit programEnded();
}

}  // namespace pcp
