#pragma once
// The base of the data modules (TDMFilial, TDMMovEst, ...): one store and the
// cursors the module declares, opened and closed together.
#include "TableCursor.h"

#include <initializer_list>
#include <memory>

namespace pcp {

class DataModule {
public:
    virtual ~DataModule();
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;

    Store& store() const { return *store_; }
    const std::shared_ptr<Store>& storePtr() const { return store_; }

    // Opens every declared cursor that is closed, in declaration order
    // (masters before their details).
    void openAll();
    // Cancels pending edits and closes every declared cursor, details first.
    void closeAll();

protected:
    explicit DataModule(std::shared_ptr<Store> store);
    // Called once by the module's constructor with its cursors, masters first.
    void declare(std::initializer_list<TableCursor*> cursors);
    const QList<TableCursor*>& cursors() const { return cursors_; }

private:
    std::shared_ptr<Store> store_;
    QList<TableCursor*> cursors_;
};

}  // namespace pcp
