#include "TfoBaixaEstoqueMatPrima.h"

#include "BaixaMateriaPrima.h"
#include "ContextoEstoque.h"

#include <QProgressBar>
#include <QPushButton>
#include <iterator>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
const QString kMascaraData = u"!99/99/0000;1;_"_s;
}  // namespace

TfoBaixaEstoqueMatPrima::TfoBaixaEstoqueMatPrima(std::shared_ptr<Store> store, QWidget* parent)
    : ProcessScreen(u"foBaixaEstoqueMatPrima"_s, u"Baixa Estoque Materia Prima"_s, u"btOK"_s, u"btFechar"_s, parent),
      edDataIni(addParameter(u"Data inicial"_s, u"edDataIni"_s, FieldType::Date, kMascaraData)),
      edDataFim(addParameter(u"Data Final"_s, u"edDataFim"_s, FieldType::Date, kMascaraData)),
      edHistVenda(addParameter(u"Historico de Venda"_s, u"edHistVenda"_s, FieldType::SmallInt)),
      edHistBaixa(addParameter(u"Historico da Baixa"_s, u"edHistBaixa"_s, FieldType::SmallInt)),
      edFornecedor(addParameter(u"Fornecedor"_s, u"edFornecedor"_s, FieldType::Integer)),
      btOK(okButton()),
      btFechar(closeButton()),
      pbAndamento(addProgressBar(u"pbAndamento"_s)),
      store_(std::move(store))
{
    for (FieldEdit* codigo : {edHistVenda, edHistBaixa, edFornecedor})
        codigo->setText(u"0"_s);
}

TfoBaixaEstoqueMatPrima::~TfoBaixaEstoqueMatPrima() = default;

bool TfoBaixaEstoqueMatPrima::check()
{
    int erro = -1;
    std::optional<ParametrosBaixa> p =
        criticaEntradaBaixa(edDataIni->fieldText(), edDataFim->fieldText(), edHistVenda->text(),
                            edHistBaixa->text(), edFornecedor->text(), &erro);
    if (!p) {
        FieldEdit* const campos[] = {edDataIni, edDataFim, edHistVenda, edHistBaixa, edFornecedor};
        return refuseAt(erro >= 0 && erro < int(std::size(campos)) ? campos[erro] : nullptr);
    }
    parametros_ = std::make_unique<ParametrosBaixa>(*p);
    return true;
}

std::optional<QString> TfoBaixaEstoqueMatPrima::run()
{
    // The progress is called between the run's transactions, so the window
    // may repaint and answer the user without any write lock held.
    const ResultadoBaixa r =
        BaixaEstoqueMateriaPrima(*store_, contextoDaSessao(), *parametros_,
                                 [this](int feitos, int total) { progress(feitos, total); });
    if (r.interrompido)
        return std::nullopt;  // the reason has been shown
    QStringList partes{textoContagem(r.documentos, u"documento"_s, u"documentos"_s),
                       textoContagem(r.itens, u"item"_s, u"itens"_s),
                       textoContagem(r.falhas, u"falha"_s, u"falhas"_s)};
    partes.removeAll(QString());
    return partes.join(u", "_s);
}

}  // namespace pcp
