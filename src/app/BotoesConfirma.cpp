#include "BotoesConfirma.h"

#include "ButtonRow.h"

#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

BotoesConfirma botoesConfirma(QWidget* window, const QString& okName, const QString& saidaName,
                              const QString& saidaCaption)
{
    // Plain buttons, not makeButton's: in a dialog they keep pressing themselves on Enter.
    auto* ok = new QPushButton(u"OK"_s, window);
    ok->setObjectName(okName);
    ok->setDefault(true);
    auto* saida = new QPushButton(saidaCaption, window);
    saida->setObjectName(saidaName);
    return {ok, saida, new ButtonRow(ButtonRow::Side::Right, {ok, saida})};
}

}  // namespace pcp
