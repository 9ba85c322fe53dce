#include "Transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
int savepointCounter = 0;
}

Transaction::Transaction(Database& db) : db_(db)
{
    if (db.inTransaction()) {
        savepoint_ = u"sp%1"_s.arg(++savepointCounter);
        db.exec(u"SAVEPOINT "_s + savepoint_);
    } else {
        db.beginWrite();
    }
}

Transaction::~Transaction()
{
    if (active_) {
        try {
            rollback();
        } catch (...) {
            // the connection is gone or already rolled back; nothing more to undo
        }
    }
}

void Transaction::commit()
{
    if (!active_)
        return;
    db_.exec(savepoint_.isEmpty() ? u"COMMIT"_s : u"RELEASE "_s + savepoint_);
    active_ = false;
}

void Transaction::rollback()
{
    if (!active_)
        return;
    active_ = false;
    if (savepoint_.isEmpty()) {
        if (db_.inTransaction())
            db_.exec(u"ROLLBACK"_s);
    } else {
        db_.exec(u"ROLLBACK TO "_s + savepoint_ + u"; RELEASE "_s + savepoint_);
    }
}

}  // namespace pcp
