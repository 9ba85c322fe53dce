#include "AplicacaoPcp.h"

#include "DbError.h"
#include "Messages.h"

namespace pcp {

bool comTratamentoGeral(const std::function<bool()>& entrega)
{
    try {
        return entrega();
    } catch (const DbError& e) {
        mostraErro(e.message());
    } catch (const std::exception& e) {
        mostraErro(QString::fromUtf8(e.what()));
    }
    return false;
}

bool AplicacaoPcp::notify(QObject* receiver, QEvent* event)
{
    return comTratamentoGeral([&] { return QApplication::notify(receiver, event); });
}

}  // namespace pcp
