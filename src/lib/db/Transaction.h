#pragma once
// A write transaction that rolls back unless committed. The outermost guard
// takes the write lock at once on SQLite (BEGIN IMMEDIATE), so the busy
// timeout applies to it;
// a guard inside another becomes a savepoint.
#include "Database.h"

namespace pcp {

class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void rollback();
    bool active() const { return active_; }

private:
    Database& db_;
    QString savepoint_;  // empty for the outermost transaction
    bool active_ = true;
};

}  // namespace pcp
