#pragma once
// The stock engine's own module: the document items in AnoMes order, each
// with its header, the header's history code and the item's extension at
// hand while walking. The engine itself reads the same joins in one query;
// this module serves the screens that walk items one by one.
#include "DataModule.h"

namespace pcp {

class TDMAS : public DataModule {
public:
    explicit TDMAS(std::shared_ptr<Store> store);

    TableCursor Notai;    // index "AnoMes"
    TableCursor Notas;    // detail of Notai on the document key
    TableCursor HistEst;  // detail of Notas on Est_Hist
    TableCursor NOTAI3;   // detail of Notai on the item key
};

}  // namespace pcp
