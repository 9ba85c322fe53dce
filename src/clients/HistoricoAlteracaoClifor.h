#pragma once
// The change history kept for the tax authority's registration-change
// records (register 0175): per partner and day, the values ten
// identification fields had before they were changed.
//
// The register marks a change right after it put the partner into edit mode
// with "Alterar" (marca); the post of the partner then writes the day's row
// (registra). Inserts are never recorded. A failure of the history is shown
// and never undoes or blocks the partner's save.
#include "TableCursor.h"

#include <QDate>
#include <functional>

namespace pcp {

class HistoricoAlteracaoClifor {
public:
    explicit HistoricoAlteracaoClifor(std::shared_ptr<Store> store);

    // Remembers the identification fields of the partner `clifor` holds now
    // and sets the one-shot mark.
    void marca(const TableCursor& clifor);
    // Drops the mark (the change was cancelled).
    void desmarca();
    bool marcado() const { return marcado_; }

    // After a post of `clifor`: when the mark is set for this very partner
    // and a field differs from its remembered value, writes the day's row
    // of Sped_AlteraClifor. Always clears the mark; shows failures, never throws.
    void registra(const TableCursor& clifor);

    // Where "today" comes from (the system date by default).
    void setRelogio(std::function<QDate()> hoje) { hoje_ = std::move(hoje); }

private:
    std::shared_ptr<Store> store_;
    std::function<QDate()> hoje_;
    bool marcado_ = false;
    QVariantList chave_;   // Filial, Cod_Clifor of the marked partner
    QStringList antigos_;  // one per compared field
    QString cnpjAntigo_, cpfAntigo_;
};

// The message shown, with two line breaks and the error text, when the history cannot be written.
inline constexpr const char16_t* kFalhaHistoricoClifor =
    u"Falha na gravação do log de alteração de clientes/fornecedores p/ registro 0175 do sped!";

}  // namespace pcp
