#pragma once
// Makes the store refuse one write, as a full disk or a broken connection
// would, so a test can show that the change around it is applied whole or not
// at all. A trigger on either engine; the only place the tests spell one.
#include "Database.h"
#include "DbError.h"

namespace pcp::test {

// `quando` is "BEFORE INSERT ON Notas" and the like; `condicao` is over NEW
// (or OLD for a delete), empty for every row. The text "Key violation."
// comes as a duplicate key does.
inline void recusaNoBanco(Database& db, const QString& nome, const QString& quando, const QString& condicao,
                          const QString& texto)
{
    using namespace Qt::Literals::StringLiterals;
    if (!db.onServer()) {
        db.exec(u"CREATE TRIGGER %1 %2%3 BEGIN SELECT RAISE(ABORT, '%4'); END"_s.arg(
            nome, quando, condicao.isEmpty() ? QString() : u" WHEN "_s + condicao, texto));
        return;
    }
    const QString raise = texto == QStringView(kKeyViolation)
                              ? u"RAISE EXCEPTION USING ERRCODE = 'unique_violation', MESSAGE = '%1';"_s.arg(texto)
                              : u"RAISE EXCEPTION '%1';"_s.arg(texto);
    const QString devolve = quando.contains(u"DELETE"_s, Qt::CaseInsensitive) ? u"OLD"_s : u"NEW"_s;
    db.exec(u"CREATE FUNCTION %1_f() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN %2 %3 %4 RETURN %5; END $$"_s.arg(
        nome, condicao.isEmpty() ? QString() : u"IF "_s + condicao + u" THEN"_s, raise,
        condicao.isEmpty() ? QString() : u"END IF;"_s, devolve));
    db.exec(u"CREATE TRIGGER %1 %2 FOR EACH ROW EXECUTE FUNCTION %1_f()"_s.arg(nome, quando));
}

// On the server only: the first `vezes` rows written meet a deadlock, as when
// another workstation's transaction crossed this one's (a sequence counts
// them: it is not taken back with the transaction).
inline void conflitoNoBanco(Database& db, const QString& nome, const QString& quando, int vezes)
{
    using namespace Qt::Literals::StringLiterals;
    db.exec(u"CREATE SEQUENCE %1_n"_s.arg(nome));
    db.exec(u"CREATE FUNCTION %1_f() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF nextval('%1_n') <= %2 THEN "
            u"RAISE EXCEPTION USING ERRCODE = 'deadlock_detected', MESSAGE = 'deadlock detected'; END IF; "
            u"RETURN NEW; END $$"_s.arg(nome).arg(vezes));
    db.exec(u"CREATE TRIGGER %1 %2 FOR EACH ROW EXECUTE FUNCTION %1_f()"_s.arg(nome, quando));
}

inline void tiraRecusa(Database& db, const QString& nome, const QString& tabela)
{
    using namespace Qt::Literals::StringLiterals;
    db.exec(db.onServer() ? u"DROP TRIGGER %1 ON %2"_s.arg(nome, tabela) : u"DROP TRIGGER %1"_s.arg(nome));
}

}  // namespace pcp::test
