#pragma once
// Rules of the product record that every screen shares: the classification
// key and its search slices, the values derived when a row is read, the
// defaults and invariants kept on every save, the description-change log and
// the menu's copy of the last cost into price list 6.
#include "Database.h"
#include "Decimal4.h"
#include "TableCursor.h"

#include <QDate>
#include <QStringList>
#include <functional>
#include <optional>

namespace pcp {

// ---- classification key ------------------------------------------------------

// Open bounds of a range over the whole 24-character classification key
// Nivel1 (2) + Nivel2 (3) + Nivel3 (4) + Nivel4 (3) + Nivel5 (6) + Nivel6 (6).
inline constexpr const char16_t* kClassificacaoInicial = u"000000000000000000000000";
inline constexpr const char16_t* kClassificacaoFinal = u"999999999999999999999999";

// A search typed against the index "Classificacao", cut into Nivel1 ... Nivel6
// at characters 1-2, 3-5, 6-9, 10-12, 13-18 and 19-24. Only the levels the text
// reaches are returned (the last one may be partial), so the list is the key
// after Filial for a nearest search; characters after the 24th are ignored.
QStringList cortaClassificacao(const QString& texto);
// The same against "Nivel / Alfa": the first 18 characters cut into Nivel1 ...
// Nivel5, then characters 19 to 48 as NOME1.
QStringList cortaNivelAlfa(const QString& texto);

// ---- derived values -----------------------------------------------------------

// Computed each time a product row is read, in this order; never stored.
struct DerivadosProduto {
    QString Classi;        // Nivel1 ... Nivel5 joined without separators ("Classificação")
    Decimal4 SaldoFisico;  // QTD_FIS - QTD_EMP1, with four decimals
    QString NomeNivel3;    // Descric3 of the product's level 3 (at most 30 characters); empty when none
};

// A product field by name, in memory form (a cursor's value(), a grid row's value()).
using CampoProduto = std::function<QVariant(const QString& campo)>;
DerivadosProduto calculaDerivados(Database& db, const CampoProduto& campo);
// The current row of a cursor on Estproma, looking level 3 up in the cursor's store.
DerivadosProduto calculaDerivados(const TableCursor& produto);

// ---- defaults and invariants of a save ------------------------------------------

// Nivel6: the product code written "%6.6d", cut to the field's six characters
// (4014510 gives "401451").
QString nivel6DoCodigo(qint64 codigo);
// True when the product has at least one row in Tamanho.
bool produtoTemGrade(Database& db, qint64 filial, qint64 codigo);

// Fills a row just inserted (the cursor in insert mode) with the branch, the
// code and the defaults of a new product: GRADE "0", CONVERSAO 1, SITUACAO "1",
// SIT_TRIBUT "0", Nivel5 "000001", TRANSF_ICM 100, ProdutoControlado false,
// TipoComplementoNfe 0, DataCadastro = hoje, and Nivel6 from the code.
void iniciaProduto(TableCursor& produto, int filial, qint64 codigo, QDate hoje = QDate::currentDate());

// The message of the first required field left empty, in the order the save
// tests them (UNID_PAD, CONVERSAO, SIT_TRIBUT, TipoItemSped, NOME1); empty
// when all are filled. A text of blanks only counts as empty.
QString campoObrigatorioAusente(const TableCursor& produto);
// The same check for the save: shows that message (plain box) and returns false.
bool confereCamposObrigatorios(const TableCursor& produto);

// Sets what every save keeps true (the cursor in insert or edit mode): Nivel6
// from the code and GRADE "1" exactly when the product has a size row.
void aplicaInvariantes(TableCursor& produto);

// ---- description-change log -------------------------------------------------------

// Writes the description a product had before a change into Sped_AlteraProduto:
// the row of (filial, codigo, hoje) is rewritten when it exists, else added, so a
// day keeps the description from before its last change. Nothing is written
// when the description did not change. True when a row was written.
bool registraAlteracaoDescricao(Database& db, qint64 filial, qint64 codigo, const QString& anterior,
                                const QString& atual, QDate hoje = QDate::currentDate());

// What the register remembers between the start of a change and its post.
class LogDescricaoProduto {
public:
    // Remembers NOME1 of the row that has just entered editing for a change
    // (after the edit re-read the row); an insert does not call it.
    void lembra(const TableCursor& produto);
    // After every post of the product: logs the remembered description when the
    // posted NOME1 differs from it, then forgets it. True when a row was written.
    bool aposGravar(const TableCursor& produto, QDate hoje = QDate::currentDate());
    // Forgets the remembered description (cancel).
    void esquece() { anterior_.reset(); }
    bool lembrando() const { return anterior_.has_value(); }

private:
    std::optional<QString> anterior_;
};

// ---- price list 6 -------------------------------------------------------------------

// "Grava Custo na Lista 6": every product of every branch whose LISTA6 is empty
// receives its ULTIMOCUST; a LISTA6 of zero is a value and stays. Returns the
// number of products changed.
int gravaCustoNaLista6(Database& db);

}  // namespace pcp
