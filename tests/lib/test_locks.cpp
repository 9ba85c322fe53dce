// Record locks and crash safety across processes: a helper process holds a
// record or a half-written transaction while this one works on the same store.
#include "ScriptedTest.h"
#include "TableRoutines.h"
#include "TestTables.h"

#include <QProcess>
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

class Locks : public test::ScriptedTest {
protected:
    void SetUp() override
    {
        path = tmp.filePath(u"dados.sqlite"_s);
        store = Store::open(path, {test::itensTable()});
        store->db().exec(u"INSERT INTO Itens (Filial, Codigo, Nome) VALUES (1, 1, 'original')"_s);
        table = std::make_unique<TableCursor>(store, u"Itens"_s);
        table->open();
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

TEST_F(Locks, AHolderKilledReleasesItsLock)
{
    Holder other(path, u"edit"_s, 1);
    ASSERT_TRUE(other.waitFor("LOCKED"));
    other.killHard();
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
        EXPECT_EQ(reopened->db().prepare(u"PRAGMA integrity_check"_s).scalar().toString(), u"ok"_s);
        EXPECT_EQ(reopened->db().prepare(u"SELECT count(*) FROM Itens WHERE Filial = 9"_s).scalar().toInt(),
                  commit ? 2000 : 0);
    }
}

}  // namespace
