#include "DataModule.h"

namespace pcp {

DataModule::DataModule(std::shared_ptr<Store> store) : store_(std::move(store)) {}

DataModule::~DataModule() = default;

void DataModule::declare(std::initializer_list<TableCursor*> cursors)
{
    for (TableCursor* c : cursors)
        cursors_ << c;
}

void DataModule::openAll()
{
    for (TableCursor* c : cursors_)
        if (!c->active())
            c->open();
}

void DataModule::closeAll()
{
    for (auto it = cursors_.rbegin(); it != cursors_.rend(); ++it) {
        if ((*it)->active()) {
            (*it)->cancel();
            (*it)->close();
        }
    }
}

}  // namespace pcp
