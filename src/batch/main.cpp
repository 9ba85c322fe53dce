// pcp-lote: the long stock operations without a window (see Lote.h).
#include "Lote.h"
#include "Messages.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    pcp::StderrMessages mensagens;
    pcp::MessageServiceScope escopo(mensagens);
    return pcp::executaLote(app.arguments().mid(1));
}
