#pragma once
// A transaction of its own unless the caller holds one open. Inside the
// caller's there is no savepoint per call (a savepoint per document costs as
// much again as writing it): a failure reaches the caller, whose transaction
// takes it all back.
#include "Transaction.h"

#include <optional>

namespace pcp {

class TransacaoSeNecessaria {
public:
    explicit TransacaoSeNecessaria(Database& db)
    {
        if (!db.inTransaction())
            tx_.emplace(db);
    }
    void commit()
    {
        if (tx_)
            tx_->commit();
    }

private:
    std::optional<Transaction> tx_;
};

}  // namespace pcp
