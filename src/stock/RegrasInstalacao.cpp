#include "RegrasInstalacao.h"

#include <algorithm>
#include <initializer_list>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

using Codigos = std::initializer_list<int>;

bool contem(Codigos codigos, int fat) { return std::find(codigos.begin(), codigos.end(), fat) != codigos.end(); }

// The first entry whose codes hold `fat`, or null.
template <typename Regra, size_t N>
const Regra* regraDe(const Regra (&regras)[N], int fat)
{
    for (const Regra& r : regras)
        if (contem(r.codigos, fat))
            return &r;
    return nullptr;
}

constexpr Codigos kSemJanela{135, 144, 167};
constexpr Codigos kAvisaNegativo{73, 83, 221, 304};
constexpr Codigos kComplementoOD{144};

struct DataInicial {
    Codigos codigos;
    MotorEstoque motor;
    const char16_t* data;
};
const DataInicial kDatasIniciais[] = {
    {{131}, MotorEstoque::SaldoFisico, u"2003-12-31"},
    {{101}, MotorEstoque::CustoMedio, u"2002-03-19"},
};

// Months up to and including `ate` ("yyyymm") are not revalued by the engine.
struct MesesFechados {
    Codigos codigos;
    const char16_t* ate;
    const char16_t* mensagem;  // empty: passed over without a word
};
const MesesFechados kMesesFechados[] = {
    {{121}, u"200412", u"Periodo indisponível"},
    {{74, 131}, u"200312", u""},
};

// The screen refuses the months whose first day is on or before (or, without
// `inclusive`, before) the limit.
struct PeriodoSemAcesso {
    Codigos codigos;
    QDate limite;
    bool inclusive;
    const char16_t* mensagem;
};
const PeriodoSemAcesso kPeriodosSemAcesso[] = {
    {{131}, QDate(2007, 12, 31), true, u"Periodo Sem Acesso"},
    {{160}, QDate(2008, 1, 1), true, u"Periodo Sem Acesso"},
    {{176}, QDate(2007, 3, 31), true, u"Periodo Sem Acesso"},
    {{121}, QDate(2004, 12, 31), true, u"Periodo Sem Acesso"},
    {{126}, QDate(2004, 7, 1), false, u"Periodo Sem Acesso"},
    {{112, 177}, QDate(2004, 1, 1), false, u"Periodo Sem Acesso"},
    {{51}, QDate(2004, 3, 1), false, u"Periodo Sem Acesso"},
    {{73, 83, 221, 304}, QDate(2000, 11, 30), true, u"Periodo sem acesso"},
    {{62}, QDate(2001, 4, 30), true, u"Periodo sem acesso"},
    {{74}, QDate(2002, 11, 30), true, u"Periodo sem acesso"},
};

}  // namespace

bool semJanelaDeAndamento(int fat) { return contem(kSemJanela, fat); }
bool avisaSaldoNegativo(int fat) { return contem(kAvisaNegativo, fat); }
bool soComplementoOD(int fat) { return contem(kComplementoOD, fat); }

QString primeiraDataDosItens(MotorEstoque motor, int fat)
{
    for (const DataInicial& d : kDatasIniciais)
        if (d.motor == motor && contem(d.codigos, fat))
            return QString::fromUtf16(d.data);
    return {};
}

BloqueioMesCusto bloqueioMesCustoMedio(int fat, const Mes& mes)
{
    const MesesFechados* r = regraDe(kMesesFechados, fat);
    if (!r || mes.anoMes() > QString::fromUtf16(r->ate))
        return {};
    return {true, QString::fromUtf16(r->mensagem)};
}

QString periodoBloqueadoCustoMedio(int fat, const Mes& mes)
{
    const QDate inicio = mes.primeiroDia();
    for (const PeriodoSemAcesso& b : kPeriodosSemAcesso) {
        if (!contem(b.codigos, fat))
            continue;
        if (b.inclusive ? inicio <= b.limite : inicio < b.limite)
            return QString::fromUtf16(b.mensagem);
    }
    return {};
}

}  // namespace pcp
