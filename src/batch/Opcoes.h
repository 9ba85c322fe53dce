#pragma once
// The command line of pcp-lote: its commands and options, and the checks each
// value passes before anything is opened. A value written into a table is
// checked against that field's declaration in the table catalogue, so a
// number is never wrapped and a text never cut on its way into the store.
#include "Mes.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace pcp {

// Input refused before the company store is opened for writing; the command
// ends with status 2.
struct Recusa {
    QString texto;
    bool uso = false;  // a command line that does not parse also gets the usage
};

struct LinhaLote {
    QString comando;
    QHash<QString, QString> opcoes;  // options with a value
    QStringList marcas;              // options without one (--criar, --atualiza-qtdfis)

    QString valor(const QString& opcao) const { return opcoes.value(opcao); }
    bool tem(const QString& opcao) const { return opcoes.contains(opcao) || marcas.contains(opcao); }
};

// The usage text (printed by --help, and after a line that does not parse).
const QString& usoLote();
// True when the line asks for the usage ("-h" or "--help" anywhere).
bool pedeAjuda(const QStringList& args);
// Splits the line into command, options and flags; throws Recusa for an
// unknown, repeated or value-less option, a missing one or an unknown command.
LinhaLote analisaLinha(const QStringList& args);

// The whole number given to `opcao`, at least `minimo` and within the range
// of every field ("Tabela.Campo") it is written into or compared with.
qint64 inteiroDosCampos(const LinhaLote& l, const QString& opcao, const QStringList& campos,
                        qint64 minimo);
// The text given to `opcao` (empty when absent), no longer than the field.
QString textoDoCampo(const LinhaLote& l, const QString& opcao, const QString& campo);
// The month given to `opcao` as "yyyymm", or as "MMYYYY" / "MM/YYYY" with
// `mesPrimeiro`; a month outside 01..12 or year 0000 is refused.
Mes mesDaOpcao(const LinhaLote& l, const QString& opcao, bool mesPrimeiro);

// The nearest folder of `caminho` that exists (itself when it does).
QString pastaExistente(const QString& caminho);
// Refuses a folder on a network file system.
void exigeDiscoLocal(const QString& pasta);

}  // namespace pcp
