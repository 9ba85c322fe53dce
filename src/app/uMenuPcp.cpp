#include "uMenuPcp.h"

#include "Messages.h"
#include "Parametros.h"
#include "Produto.h"
#include "ResultadoExecucao.h"
#include "TDMFilial.h"
#include "ScreenRegistry.h"
#include "Sessao.h"
#include "TFormSenha.h"

#include <algorithm>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
enum class Acao { Abre, Sair, Nada, ModoConsulta, ModoBaixa, AcessoBaixaMP, GravaCustoLista6 };

struct Entrada {
    const char16_t* menu;
    const char16_t* entrada;
    const char16_t* objeto;
    const char16_t* tela;
    Acao acao;
};

// The menus in their order; each entry names the screen it opens.
const Entrada kEntradas[] = {
    {u"Cadastros", u"Clientes / Fornecedores", u"ClientesFornecedores1", u"TFoCadastroCliFor", Acao::Abre},
    {u"Cadastros", u"Embalagens", u"Embalagens1", u"TfoCadEmbalagem", Acao::Abre},
    {u"Cadastros", u"Fatores", u"Fatores1", u"TfoCadFatores", Acao::Abre},
    {u"Cadastros", u"Ficha Desenvolvimento", u"FichaDesenvolvimento1", u"TfoCadFichaDesenvolvimento", Acao::Abre},
    {u"Cadastros", u"Formulas", u"Formulas1", u"TfoCadFormula", Acao::Abre},
    {u"Cadastros", u"Moedas", u"Moedas1", u"TFoCadastroMoedas", Acao::Abre},
    {u"Cadastros", u"Produtos", u"Produtos1", u"TFoCadProduto", Acao::Abre},
    {u"Cadastros", u"Responsável", u"Responsavel1", u"TfoCadResptec", Acao::Abre},
    {u"Cadastros", u"Valores", u"Valores1", u"TFoCadastroValores", Acao::Abre},
    {u"Cadastros", u"Matizadores", u"Matizadores1", u"TFoCadMatizador", Acao::Abre},
    {u"Cadastros", u"Parametrização", u"Parametrizacao1", u"TfoParametrizacao", Acao::Abre},
    {u"Cadastros", u"Embalagens por Produto", u"EmbalagensporProduto1", u"TfoCadEmbalPorProd", Acao::Abre},
    {u"Cadastros", u"Previsão de Produção", u"PrevisaodeProducao1", u"TfoCadPrevProducao", Acao::Abre},
    {u"Cadastros", u"Resultados de Análise", u"ResultadosdeAnalise1", u"TfoResultadoAnalisePorFormula", Acao::Abre},
    {u"Cadastros", u"Tipos de Análise", u"TiposdeAnalise1", u"TfoCadAnalises", Acao::Abre},
    {u"Cadastros", u"Trilhos", u"Trilhos1", u"TfoCadTrilhos", Acao::Abre},
    {u"Cadastros", u"Sair", u"Sair1", u"", Acao::Sair},
    {u"Movimento", u"Ordem de Serviço", u"OrdemdeServico1", u"TfoMovOrdemServico", Acao::Abre},
    {u"Movimento", u"Programação Tempos", u"ProgramacaoTempos1", u"TfoMovProgTempos", Acao::Abre},
    {u"Movimento", u"Gera Talões", u"GeraTaloes1", u"", Acao::Nada},
    {u"Movimento", u"Baixa previsão de produção", u"Baixaprevisaodeproducao1", u"TfoBaixaProducao", Acao::Abre},
    {u"Movimento", u"Baixa produção", u"Baixaproducao1", u"TfoConsPedidoProducao", Acao::ModoBaixa},
    {u"Consulta", u"Custos", u"Custos1", u"TfoConsCusto", Acao::Abre},
    {u"Consulta", u"Formulas", u"Formulas2", u"TfoConsFormula", Acao::Abre},
    {u"Consulta", u"Produção", u"Producao1", u"TfoConsPedidoProducao", Acao::ModoConsulta},
    {u"Relatorios", u"Amostras para cias", u"Amostrasparacias1", u"TfoRelAmostraparacias", Acao::Abre},
    {u"Relatorios", u"Formulas", u"Formulas3", u"TfoRelFormula", Acao::Abre},
    {u"Relatorios", u"Rótulos de Amostra", u"RotulosdeAmostra1", u"TfoRelRotuloFormula", Acao::Abre},
    {u"Relatorios", u"Rótulos Avulsos", u"RotulosAvulsos1", u"TfoRelRotuloAvulso", Acao::Abre},
    {u"Relatorios", u"Previsão Produção", u"PrevisaoProducao1", u"TfoRelPrevProducao", Acao::Abre},
    {u"Utilitarios", u"Atualiza saldo previsão de produção", u"Atualizasaldoprevisaodeproducao1",
     u"TfoAtualizaSaldoPrevisoProducao", Acao::Abre},
    {u"Utilitarios", u"Baixa Estoque Materia Prima", u"BaixaEstoqueMateriaPrima1", u"TfoBaixaEstoqueMatPrima",
     Acao::AcessoBaixaMP},
    {u"Utilitarios", u"Corrige densidade das formulas", u"Corrigedensidadedasformulas1",
     u"TfoCorrigeDensidadeFormula", Acao::Abre},
    {u"Utilitarios", u"Grava Custo na Lista 6", u"GravaCustonaLista61", u"", Acao::GravaCustoLista6},
    {u"Utilitarios", u"Substitui Componentes Fórmulas", u"SubstituiComponentesFormulas1", u"TfoSubstComponentes",
     Acao::Abre},
    {u"Utilitarios", u"Atualiza saldo lotes MP", u"AtualizasaldolotesMP1", u"TfoAtualizaSaldoLoteMP", Acao::Abre},
    {u"Utilitarios", u"Atualiza Custo Medio", u"AtualizaCustoMedio1", u"TfoAtuCustoMedio", Acao::Abre},
};
}  // namespace

TMenuPcp::TMenuPcp(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(u"MenuPcp"_s);
    setWindowTitle(u"Planejamento e Controle da Produção"_s);
    // no close box: "Sair" closes the menu
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint | Qt::CustomizeWindowHint);
    QMenu* menu = nullptr;
    QString current;
    for (const Entrada& e : kEntradas) {
        const QString name = QString::fromUtf16(e.menu);
        if (name != current) {
            menu = menuBar()->addMenu(name);
            menu->setObjectName(name);
            current = name;
        }
        QAction* action = menu->addAction(QString::fromUtf16(e.entrada));
        action->setObjectName(QString::fromUtf16(e.objeto));
        const QString tela = QString::fromUtf16(e.tela);
        const QString entrada = QString::fromUtf16(e.entrada);
        switch (e.acao) {
        case Acao::Abre: connect(action, &QAction::triggered, this, [=, this] { abre(tela, entrada); }); break;
        case Acao::Sair: connect(action, &QAction::triggered, this, &TMenuPcp::sair); break;
        case Acao::Nada: break;
        case Acao::ModoConsulta:
            connect(action, &QAction::triggered, this, [=, this] { abreConsPedidoProducao(0, entrada); });
            break;
        case Acao::ModoBaixa:
            connect(action, &QAction::triggered, this, [=, this] { abreConsPedidoProducao(1, entrada); });
            break;
        case Acao::AcessoBaixaMP:
            connect(action, &QAction::triggered, this, [=, this] { baixaEstoqueMateriaPrima(entrada); });
            break;
        case Acao::GravaCustoLista6:
            connect(action, &QAction::triggered, this, &TMenuPcp::gravaCustoLista6);
            break;
        }
    }
    auto label = [this](const char16_t* name, int stretch) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromUtf16(name));
        l->setContentsMargins(0, 0, 12, 0);
        statusBar()->addWidget(l, stretch);
        return l;
    };
    lbEmpresa = label(u"lbEmpresa", 0);
    lbFilial = label(u"lbFilial", 0);
    lbUsuario = label(u"lbUsuario", 0);
    lbServidor = label(u"lbServidor", 0);
    lbResultado = label(u"lbResultado", 1);
    statusBar()->setSizeGripEnabled(false);
    // the result stays until the next run says what it did
    resultado_ = std::make_unique<ResultadoExecucaoScope>([this](const QString& texto) {
        lbResultado->setText(texto);
        atualizaStatus();
    });
    atualizaStatus();
    posiciona();
}

TMenuPcp::~TMenuPcp() = default;

void TMenuPcp::posiciona()
{
    move(0, 0);
    // wide enough for the status line (a company on a server names it too)
    int largura = 24;
    for (const QLabel* l : {lbEmpresa, lbFilial, lbUsuario, lbServidor})
        if (!l->isHidden())
            largura += l->sizeHint().width() + 8;
    resize(std::max(800, largura), menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
}

void TMenuPcp::atualizaStatus()
{
    const Sessao& s = sessao();
    lbEmpresa->setText(u"Empresa: "_s + s.NomeEmpresa);
    lbFilial->setText(u"Filial: %1 - %2"_s.arg(s.FilialAtual).arg(s.NomeFilial));
    lbUsuario->setText(u"Usuário: "_s + s.UsuarioAtual);
    lbServidor->setText(textoServidor());
    lbServidor->setVisible(!lbServidor->text().isEmpty());
}

QString TMenuPcp::textoServidor()
{
    if (!DMFilial() || !DMFilial()->store().onServer())
        return {};
    try {
        if (const auto conf = leServidorConf(DMFilial()->store().folder()))
            return u"Servidor: "_s + descricaoServidor(*conf);
    } catch (const DbError&) {
        // the file was changed or removed since the company was opened
    }
    return {};
}

void TMenuPcp::libera()
{
    hide();
    resultado_.reset();
    deleteLater();
}

void TMenuPcp::changeEvent(QEvent* event)
{
    // an access check may have asked for the user meanwhile
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        atualizaStatus();
    QMainWindow::changeEvent(event);
}

void TMenuPcp::preparaParametros()
{
    LimpaCacheParametros();
    LeParametroTexto(QString::number(sessao().FilialAtual), u"NomeQuimicoResponsavel"_s);
}

void TMenuPcp::naoDisponivel(const QString& screen, const QString& entry)
{
    const QString name = screen.isEmpty() ? QString() : u" ("_s + screen + u")"_s;
    mostraInformacao(u"\"%1\"%2 ainda não está disponível nesta versão do programa."_s.arg(entry, name));
}

void TMenuPcp::abre(const QString& screen, const QString& entry)
{
    if (!ScreenRegistry::instance().contains(screen))
        naoDisponivel(screen, entry);
    else
        ScreenRegistry::instance().open(screen);
}

void TMenuPcp::abreConsPedidoProducao(int modo, const QString& entry)
{
    // the mode is a property of the one screen instance, set before it is shown
    const QString screen = u"TfoConsPedidoProducao"_s;
    QWidget* w = ScreenRegistry::instance().create(screen);
    if (!w) {
        naoDisponivel(screen, entry);
        return;
    }
    w->setProperty("Modo", modo);
    ScreenRegistry::instance().open(screen);
}

void TMenuPcp::baixaEstoqueMateriaPrima(const QString& entry)
{
    if (VerificaAcesso(101))
        abre(u"TfoBaixaEstoqueMatPrima"_s, entry);
}

void TMenuPcp::gravaCustoLista6()
{
    if (!confirma(u"Confirma atualização ?"_s))
        return;
    try {
        gravaCustoNaLista6(DMFilial()->store().db());
    } catch (const DbError& e) {
        mostraErro(e.message());
        return;
    }
    mostraMensagem(u"Processo de atualização finalizado"_s);
}

void TMenuPcp::closeEvent(QCloseEvent* event)
{
    event->ignore();
    emit sair();
}

}  // namespace pcp
