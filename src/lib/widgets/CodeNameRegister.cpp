#include "CodeNameRegister.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

CodeNameRegister::CodeNameRegister(const QString& name, const QString& caption, std::shared_ptr<Store> store,
                                   const QString& tableName)
    : RegisterScreen(name, caption, Layout::OnePage), table_(std::move(store), tableName)
{
    setTable(&table_);
    setGridColumns({{u"Codigo"_s, u"CODIGO"_s, 60, {}}, {u"Nome"_s, u"NOME"_s, 300, {}}});
    addField(u"Codigo"_s, u"Codigo"_s, FieldAccess::ReadOnly);
    setFirstField(addField(u"Nome"_s, u"Nome"_s));
    setInsertStyle(InsertStyle::PostThenEdit);
}

bool CodeNameRegister::initNewRecord(TableCursor& table)
{
    table.setValue(u"Codigo"_s, nextNumber(u"Codigo"_s));
    return true;
}

}  // namespace pcp
