#pragma once
// Products 100 and 200 of level "01" (200 under Nivel2 "999"), 300 of level
// "02", all of branch 1, and product 150 of branch 2. Each has a month
// (01/2005) with an opening balance of 10 units worth 100 and an entry of 10
// units at 300: valued, the month closes at 20 units worth 400 and the
// product's average cost becomes 20 (it starts at 1). Branch 1 also holds
// stock rows for code 150, which it has no product for: they are valued only
// if a walk ran into branch 2's products.
#include "EstoqueFixture.h"

#include <set>

namespace pcp::test {

class ClassificacaoFixture : public EstoqueFixture {
protected:
    void SetUp() override
    {
        EstoqueFixture::SetUp();
        cadastra(100, u"010010001001000001000001"_s);
        cadastra(200, u"019990001001000001000002"_s);
        cadastra(300, u"020010001001000001000003"_s);
        cadastra(150, u"010010001001000001000001"_s, 2);
        for (qint64 cod : {100, 200, 300, 150})
            movimenta(cod);
        linha(u"Sldpr"_s, {{u"Filial"_s, 2}, {u"Ano_Mes"_s, u"200501"_s}, {u"Cod_Reduz"_s, 150},
                           {u"Cod_Deposi"_s, 1}, {u"Fisico"_s, 0.0}, {u"Medio"_s, 0.0}});
    }

    void cadastra(qint64 cod, const QString& classe, int filial = 1)
    {
        linha(u"Estproma"_s, {{u"Filial"_s, filial}, {u"Cod_Reduz"_s, cod}, {u"Nivel1"_s, classe.mid(0, 2)},
                              {u"Nivel2"_s, classe.mid(2, 3)}, {u"Nivel3"_s, classe.mid(5, 4)},
                              {u"Nivel4"_s, classe.mid(9, 3)}, {u"Nivel5"_s, classe.mid(12, 6)},
                              {u"Nivel6"_s, classe.mid(18, 6)}, {u"CustoMedio"_s, 1.0}});
    }
    void movimenta(qint64 cod)
    {
        saldo(u"200412"_s, 10, 100, 0, cod);
        saldo(u"200501"_s, 0, 0, 0, cod);
        grava(Mov{.nota = int(cod), .data = u"2005-01-05"_s, .hist = kEntrada, .qtd = 10, .custo = 300,
                  .cod = cod});
    }
    // The branch-1 codes whose month was valued.
    std::set<qint64> valorizados()
    {
        std::set<qint64> codigos;
        Statement st = db().prepare(u"SELECT Cod_Reduz FROM Sldpr WHERE Filial = 1 AND Ano_Mes = '200501' "
                                    "AND Medio = 400 AND Fisico = 20"_s);
        while (st.next())
            codigos.insert(st.intValue(0));
        for (qint64 cod : codigos) {
            EXPECT_EQ(custoDoItem(int(cod)), std::pair(300.0, 20.0)) << "item of product " << cod;
            if (cod != 150) {
                EXPECT_EQ(custoMedio(cod), 20) << "product " << cod;
            }
        }
        return codigos;
    }
    // Puts the month back as it was before any run.
    void desvaloriza()
    {
        db().exec(u"UPDATE Sldpr SET Medio = 0, Fisico = 0 WHERE Ano_Mes = '200501'; "
                  "UPDATE Notai SET VLR_MEDIO = NULL; UPDATE Estproma SET CustoMedio = 1"_s);
    }
    double custoMedio(qint64 cod, int filial = 1)
    {
        return sql(u"SELECT CustoMedio FROM Estproma WHERE Filial = ? AND Cod_Reduz = ?"_s, {filial, cod})
            .toDouble();
    }
};

}  // namespace pcp::test
