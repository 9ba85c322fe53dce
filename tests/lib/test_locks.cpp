// Record locks and crash safety across processes: a helper process holds a
// record or a half-written transaction while this one works on the same store.
#include "ScriptedTest.h"
#include "TableRoutines.h"
#include "TestTables.h"

#include <QElapsedTimer>
#include <QThread>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <functional>
#include <csignal>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

class Holder {
public:
    Holder(const QString& store, const QString& mode, int n)
    {
        proc_.setProgram(QString::fromUtf8(LOCK_HOLDER_PATH));
        proc_.setArguments({store, mode, QString::number(n)});
        proc_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        proc_.start();
        proc_.waitForStarted();
    }
    ~Holder()
    {
        if (proc_.state() != QProcess::NotRunning) {
            proc_.kill();
            proc_.waitForFinished();
        }
    }
    // Waits for the helper to print a word.
    bool waitFor(const char* word)
    {
        while (proc_.state() == QProcess::Running || proc_.canReadLine()) {
            if (proc_.canReadLine() || proc_.waitForReadyRead(10000)) {
                while (proc_.canReadLine())
                    if (proc_.readLine().trimmed() == word)
                        return true;
            } else {
                return false;
            }
        }
        return false;
    }
    void send(const QByteArray& line) { proc_.write(line + '\n'); proc_.waitForBytesWritten(); }
    void killHard()
    {
        ::kill(pid_t(proc_.processId()), SIGKILL);
        proc_.waitForFinished();
    }

private:
    QProcess proc_;
};

// What another workstation does to record 1 while this one works on it.
enum class Other { Nothing, HoldsIt, DeletedIt, EmptiedTable };

class Locks : public test::ScriptedTest {
protected:
    void SetUp() override { start(u"dados"_s); }
    // A store of its own for each case of a table: record 1 "original", open on a cursor.
    void start(const QString& name)
    {
        table.reset();
        // a folder of its own, so that on a server each case has its own schema
        QDir(tmp.path()).mkdir(name);
        test::preparaPastaDeTeste(tmp.filePath(name));
        path = tmp.filePath(name + u"/dados.sqlite"_s);
        store = Store::open(path, {test::itensTable()});
        store->db().exec(u"INSERT INTO Itens (Filial, Codigo, Nome) VALUES (1, 1, 'original')"_s);
        table = std::make_unique<TableCursor>(store, u"Itens"_s);
        table->open();
    }
    // Makes it happen. Another holder is a helper process, returned (null
    // when it never got the lock); a delete goes through a second connection.
    std::unique_ptr<Holder> meanwhile(Other other)
    {
        if (other == Other::HoldsIt) {
            auto holder = std::make_unique<Holder>(path, u"edit"_s, 1);
            return holder->waitFor("LOCKED") ? std::move(holder) : nullptr;
        }
        if (other == Other::DeletedIt || other == Other::EmptiedTable)
            Store::open(path, {test::itensTable()})->db().exec(u"DELETE FROM Itens"_s);
        if (other == Other::EmptiedTable)
            table->refresh();
        return nullptr;
    }
    QString nome() { return store->db().prepare(u"SELECT Nome FROM Itens WHERE Codigo = 1"_s).scalar().toString(); }

    QString path;
    std::shared_ptr<Store> store;
    std::unique_ptr<TableCursor> table;
};

const QString kCaption = u"Registro bloqueado"_s;
const QString kLocked = u"Existe outro usuário alterando este registro"_s;

TEST_F(Locks, OkAfterTheOtherPostsEditsTheNewVersion)
{
    Holder other(path, u"edit"_s, 1);
    ASSERT_TRUE(other.waitFor("LOCKED"));
    auto& first = script.expect(kLocked, MsgAnswer::Ok);
    first.caption = kCaption;
    first.buttons = MsgButtons::OkCancel;
    script.expect(kLocked, MsgAnswer::Ok).before = [&] {
        other.send("post do outro");
        ASSERT_TRUE(other.waitFor("POSTED"));
    };
    ASSERT_TRUE(EditaRegistro(*table));
    EXPECT_EQ(table->asString(u"Nome"_s), u"do outro"_s) << "edit must start from what is on disk";
    table->setValue(u"Preco"_s, 2.0);
    ASSERT_TRUE(GravaRegistro(*table));
    EXPECT_EQ(nome(), u"do outro"_s) << "no lost update";
}

TEST_F(Locks, CancelGivesUpWithTheRecordUnchanged)
{
    Holder other(path, u"edit"_s, 1);
    ASSERT_TRUE(other.waitFor("LOCKED"));
    script.expect(kLocked, MsgAnswer::Cancel).caption = kCaption;
    EXPECT_FALSE(EditaRegistro(*table));
    EXPECT_EQ(table->state(), TableCursor::State::Browse);
    EXPECT_EQ(nome(), u"original"_s);
    // a delete is refused the same way while the other holds the record
    EXPECT_THROW(table->remove(), DbError);
    EXPECT_EQ(nome(), u"original"_s);
}

TEST_F(Locks, TwoPathsToOneStoreExcludeEachOther)
{
    if (store->onServer())
        GTEST_SKIP() << "caminhos por atalho são do arquivo SQLite";
    const QString link = tmp.filePath(u"atalho.sqlite"_s);
    ASSERT_TRUE(QFile::link(path, link));
    Holder other(link, u"edit"_s, 1);
    ASSERT_TRUE(other.waitFor("LOCKED"));
    try {
        table->edit();
        ADD_FAILURE() << "both edit the record";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbErrorKind::RecordLocked);
    }
}

TEST_F(Locks, AHolderKilledReleasesItsLock)
{
    Holder other(path, u"edit"_s, 1);
    ASSERT_TRUE(other.waitFor("LOCKED"));
    other.killHard();
    // the server ends the dead workstation's session a moment after the
    // process is gone; a lock file's lock goes with the process itself
    QElapsedTimer espera;
    espera.start();
    while (store->locks().heldElsewhere(u"Itens"_s, table->keyValues()) && espera.elapsed() < 10000)
        QThread::msleep(20);
    EXPECT_TRUE(EditaRegistro(*table));  // no message expected
    table->cancel();
}

TEST_F(Locks, TheSameProcessMayEditTheRecordTwiceAndReleasesOnPost)
{
    TableCursor second(store, u"Itens"_s);
    second.open();
    table->edit();
    second.edit();
    second.cancel();
    table->setValue(u"Nome"_s, u"meu"_s);
    table->post();
    Holder other(path, u"edit"_s, 1);
    EXPECT_TRUE(other.waitFor("LOCKED")) << "post and cancel must release the lock";
}

TEST_F(Locks, AWriterKilledMidTransactionLeavesAllOrNothing)
{
    for (bool commit : {false, true}) {
        SCOPED_TRACE(commit ? "committed" : "killed");
        table->close();
        store->db().exec(u"DELETE FROM Itens WHERE Filial = 9"_s);
        {
            Holder writer(path, u"tx"_s, 2000);
            ASSERT_TRUE(writer.waitFor("HALF"));
            if (commit) {
                writer.send("commit");
                ASSERT_TRUE(writer.waitFor("COMMITTED"));
            } else {
                writer.killHard();
            }
        }
        auto reopened = Store::open(path, {test::itensTable()});
        EXPECT_EQ(reopened->db().integrityCheck(), u"ok"_s);
        EXPECT_EQ(reopened->db().prepare(u"SELECT count(*) FROM Itens WHERE Filial = 9"_s).scalar().toInt(),
                  commit ? 2000 : 0);
    }
}

struct KindCase {
    const char* name;
    Other other;
    std::function<void(TableCursor&)> act;
    DbErrorKind kind;
};

// Each failure of the cursor carries its kind; the text is only for people.
TEST_F(Locks, EveryFailureOfTheCursorCarriesItsKind)
{
    const KindCase cases[] = {
        {"edit of a record another holds", Other::HoldsIt, [](TableCursor& t) { t.edit(); },
         DbErrorKind::RecordLocked},
        {"delete of a record another holds", Other::HoldsIt, [](TableCursor& t) { t.remove(); },
         DbErrorKind::RecordLocked},
        {"edit of a deleted record", Other::DeletedIt, [](TableCursor& t) { t.edit(); }, DbErrorKind::RecordGone},
        {"delete of a deleted record", Other::DeletedIt, [](TableCursor& t) { t.remove(); },
         DbErrorKind::RecordGone},
        {"edit with no record", Other::EmptiedTable, [](TableCursor& t) { t.edit(); },
         DbErrorKind::NoCurrentRecord},
        {"delete with no record", Other::EmptiedTable, [](TableCursor& t) { t.remove(); },
         DbErrorKind::NoCurrentRecord},
        {"a letter in a number", Other::Nothing,
         [](TableCursor& t) {
             t.edit();
             t.setValue(u"Preco"_s, u"1x"_s);
         },
         DbErrorKind::Refused},
        {"a text longer than its field", Other::Nothing,
         [](TableCursor& t) {
             t.edit();
             t.setValue(u"Nome"_s, QString(31, u'a'));
         },
         DbErrorKind::Refused},
        {"a duplicate key", Other::Nothing,
         [](TableCursor& t) {
             t.insert();
             t.setValue(u"Filial"_s, 1);
             t.setValue(u"Codigo"_s, 1);
             t.post();
         },
         DbErrorKind::KeyViolation},
        {"an engine failure", Other::Nothing,
         [this](TableCursor& t) {
             store->db().exec(u"DROP TABLE Itens"_s);
             t.edit();
         },
         DbErrorKind::Engine},
    };
    for (const KindCase& c : cases) {
        SCOPED_TRACE(c.name);
        start(QString::fromUtf8(c.name));
        const auto holder = meanwhile(c.other);
        ASSERT_TRUE(c.other != Other::HoldsIt || holder);
        try {
            c.act(*table);
            ADD_FAILURE() << "no error";
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), c.kind) << e.message().toStdString();
            if (c.kind == DbErrorKind::Refused) {
                EXPECT_FALSE(e.field().isEmpty()) << "a refused value names its field";
            }
        }
        table->cancel();
        if (c.kind != DbErrorKind::Engine) {
            EXPECT_EQ(nome(), c.other == Other::Nothing || c.other == Other::HoldsIt ? u"original"_s : QString());
        }
    }
}

TEST_F(Locks, ADeleteOfARecordGoneMovesTheCursorOn)
{
    store->db().exec(u"INSERT INTO Itens (Filial, Codigo, Nome) VALUES (1, 2, 'segundo')"_s);
    table->refresh();
    Store::open(path, {test::itensTable()})->db().exec(u"DELETE FROM Itens WHERE Codigo = 1"_s);
    EXPECT_THROW(table->remove(), DbError);
    EXPECT_EQ(table->state(), TableCursor::State::Browse);
    EXPECT_EQ(table->asInteger(u"Codigo"_s), 2);
}

// EditaRegistro decides on the kind: only a lock is worth a retry.
TEST_F(Locks, EditaRegistroRetriesOnlyALock)
{
    struct Case {
        const char* name;
        Other other;
        bool closed;
        QStringList messages;  // shown in this order; OK answers each, Cancel the last lock question
    };
    const Case cases[] = {
        {"locked: OK retries, Cancel gives up", Other::HoldsIt, false, {kLocked, kLocked}},
        {"gone: one error, no retry", Other::DeletedIt, false, {u"Registro excluído por outro usuário"_s}},
        {"no current record: its text once", Other::EmptiedTable, false,
         {u"Nao ha registro atual na tabela Itens"_s}},
        {"closed table: its text once", Other::Nothing, true, {u"A tabela Itens nao esta aberta"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start(QString::fromUtf8(c.name));
        const auto holder = meanwhile(c.other);
        ASSERT_TRUE(c.other != Other::HoldsIt || holder);
        if (c.closed)
            table->close();
        for (int i = 0; i < c.messages.size(); ++i) {
            const bool lock = c.messages[i] == kLocked;
            auto& e = script.expect(c.messages[i], lock && i + 1 == c.messages.size() ? MsgAnswer::Cancel
                                                                                    : MsgAnswer::Ok);
            e.icon = lock ? MsgIcon::Warning : MsgIcon::Error;
            if (lock) {
                e.caption = kCaption;
                e.buttons = MsgButtons::OkCancel;
            }
        }
        EXPECT_FALSE(EditaRegistro(*table));
        EXPECT_NE(table->state(), TableCursor::State::Edit);
        checkScript();
    }
}

}  // namespace
