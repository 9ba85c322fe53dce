#include "HistoricoAlteracaoClifor.h"

#include "Messages.h"
#include "Transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

// A field of Clifor and the history column that keeps its old value. The
// tax number CGC is kept apart: as the old CNPJ or the old CPF.
struct Campo {
    const char16_t* clifor;
    const char16_t* historico;
};
constexpr Campo kCampos[] = {
    {u"NOME", u"Nome"},
    {u"ENDERECO", u"Endereco"},
    {u"NUMERO", u"Numero"},
    {u"COMPLEMENTO", u"Complemento"},
    {u"BAIRRO", u"Bairro"},
    {u"CodMunicipio", u"CodMunic"},
    {u"Cod_Pais", u"Cod_Pais"},
    {u"INSC_EST", u"Ie"},
    {u"InscSuframa", u"Suframa"},
};

constexpr qsizetype kTamanhoCnpj = 14;

QString texto(const TableCursor& clifor, const char16_t* campo) { return clifor.asString(QString::fromUtf16(campo)); }

QString cgc(const TableCursor& clifor) { return texto(clifor, u"CGC").trimmed(); }

// What the history stores for an old value.
QString valorAntigo(const QString& antigo) { return antigo.trimmed().isEmpty() ? u"Vazio"_s : antigo; }

}  // namespace

HistoricoAlteracaoClifor::HistoricoAlteracaoClifor(std::shared_ptr<Store> store)
    : store_(std::move(store)), hoje_([] { return QDate::currentDate(); })
{
}

void HistoricoAlteracaoClifor::marca(const TableCursor& clifor)
{
    chave_ = clifor.values({u"Filial"_s, u"Cod_Clifor"_s});
    antigos_.clear();
    for (const Campo& c : kCampos)
        antigos_ << texto(clifor, c.clifor);
    const QString antigo = cgc(clifor);
    cnpjAntigo_ = antigo.size() == kTamanhoCnpj ? antigo : QString();
    cpfAntigo_ = antigo.size() == kTamanhoCnpj ? QString() : antigo;
    marcado_ = true;
}

void HistoricoAlteracaoClifor::desmarca() { marcado_ = false; }

void HistoricoAlteracaoClifor::registra(const TableCursor& clifor)
{
    if (!marcado_)
        return;
    marcado_ = false;
    if (clifor.values({u"Filial"_s, u"Cod_Clifor"_s}) != chave_)
        return;  // the mark belonged to another partner's edit

    QList<std::pair<QString, QString>> mudancas;  // history column, old value
    qsizetype i = 0;
    for (const Campo& c : kCampos) {
        const QString& antigo = antigos_[i++];
        if (texto(clifor, c.clifor) != antigo)
            mudancas.append({QString::fromUtf16(c.historico), valorAntigo(antigo)});
    }
    const QString novo = cgc(clifor);
    if (novo.size() == kTamanhoCnpj) {
        if (novo != cnpjAntigo_)
            mudancas.append({u"Cnpj"_s, valorAntigo(cnpjAntigo_)});
    } else if (!novo.isEmpty() && novo != cpfAntigo_) {
        mudancas.append({u"Cpf"_s, valorAntigo(cpfAntigo_)});
    }
    if (mudancas.isEmpty())
        return;

    TableCursor historico(store_, u"Sped_AlteraClifor"_s);
    try {
        Transaction tr(store_->db());
        const QDate hoje = hoje_();
        historico.open();
        if (historico.findKey({chave_[0], chave_[1], hoje}))
            historico.edit();
        else
            historico.insert();
        historico.setValue(u"Filial"_s, chave_[0]);
        historico.setValue(u"Cod_Clifor"_s, chave_[1]);
        historico.setValue(u"Dt_Altera"_s, hoje);
        historico.setValue(u"AnoMes"_s, hoje.toString(u"yyyy_MM"_s));
        for (const auto& [coluna, antigo] : mudancas)
            historico.setValue(coluna, antigo);
        historico.post();
        tr.commit();
    } catch (const std::exception& e) {
        if (historico.active())
            historico.cancel();
        mostraErro(QString::fromUtf16(kFalhaHistoricoClifor) + u"\n\n"_s + QString::fromUtf8(e.what()));
    }
}

}  // namespace pcp
