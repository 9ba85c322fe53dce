// Where a company store may live: the real file behind symbolic links, on a
// local file system, decided before anything is opened or created.
#include "ScriptedTest.h"
#include "Store.h"
#include "TestTables.h"

#include <QDir>
#include <QFile>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

TEST(MountTable, NamesTheFileSystemOfAPathByItsNearestMountPoint)
{
    const MountTable mounts = MountTable::fromText(
        u"/dev/sda1 / ext4 rw 0 0\n"
        u"srv:/export /mnt/nfs nfs4 rw 0 0\n"
        u"user@host:/ /mnt/nfs/ssh fuse.sshfs rw 0 0\n"
        u"//srv/share /mnt/com\\040espaco cifs rw 0 0\n"
        u"tmpfs /tmp tmpfs rw 0 0\n"_s);
    const struct {
        const char16_t* path;
        const char16_t* type;
        const char16_t* kind;
    } cases[] = {
        {u"/home/ana/empresa", u"ext4", u""},
        {u"/mnt/nfs", u"nfs4", u"NFS"},
        {u"/mnt/nfs/empresa/dados.sqlite", u"nfs4", u"NFS"},
        {u"/mnt/nfs2/empresa", u"ext4", u""},  // a name that only starts like a mount point
        {u"/mnt/nfs/ssh/empresa", u"fuse.sshfs", u"FUSE"},
        {u"/mnt/com espaco/empresa", u"cifs", u"CIFS"},
        {u"/tmp/x", u"tmpfs", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.path).toStdString());
        EXPECT_EQ(mounts.typeOf(QString::fromUtf16(c.path)), QString::fromUtf16(c.type));
        EXPECT_EQ(networkKind(mounts.typeOf(QString::fromUtf16(c.path))), QString::fromUtf16(c.kind));
    }
}

class StoreLocation : public test::ScriptedTest {
protected:
    void SetUp() override
    {
        root = QDir(tmp.path()).canonicalPath();
        local = mkdir(u"local"_s);
        net = mkdir(u"rede"_s);
        // the "rede" folder is a network mount as far as the guard can tell
        mounts = MountTable::fromText(u"/dev/sda1 / ext4 rw 0 0\nhost:/ %1 fuse.sshfs rw 0 0\n"_s.arg(net));
        catalog.add(test::itensTable());
    }
    QString mkdir(const QString& name)
    {
        QDir(root).mkpath(name);
        return root + u'/' + name;
    }
    // Every file under the root, to show that a refusal wrote nothing.
    QStringList files() const
    {
        QStringList out;
        QDir dir(root);
        for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            out << sub + u'/';
            for (const QString& f : QDir(root + u'/' + sub).entryList(QDir::Files | QDir::System))
                out << sub + u'/' + f;
        }
        return out;
    }
    void expectRefused(const std::function<void()>& open)
    {
        const QStringList before = files();
        try {
            open();
            ADD_FAILURE() << "opened";
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbErrorKind::Refused) << e.message().toStdString();
        }
        EXPECT_EQ(files(), before) << "a refusal writes nothing";
    }

    QString root, local, net;
    MountTable mounts;
    Catalog catalog;
};

TEST_F(StoreLocation, AStoreLinkedIntoANetworkMountIsRefusedWithNothingWritten)
{
    // a store that already exists on the mount, reached through a link
    Store::open(net + u"/dados.sqlite"_s, {test::itensTable()})->db().checkpoint();
    QFile::remove(net + u"/dados.sqlite-locks"_s);
    ASSERT_TRUE(QFile::link(net + u"/dados.sqlite"_s, local + u"/dados.sqlite"_s));
    expectRefused([&] { Store::openCompany(local, catalog, CompanyStore::MayCreate, mounts); });
    // and a link to a store not made yet
    const QString other = mkdir(u"outra"_s);
    ASSERT_TRUE(QFile::link(net + u"/novo.sqlite"_s, other + u"/dados.sqlite"_s));
    expectRefused([&] { Store::openCompany(other, catalog, CompanyStore::MayCreate, mounts); });
    EXPECT_NO_THROW(Store::openCompany(mkdir(u"propria"_s), catalog, CompanyStore::MayCreate, mounts));
}

TEST_F(StoreLocation, AMissingFolderIsRefusedBeforeItIsCreated)
{
    const struct {
        const char* name;
        QString folder;
        CompanyStore mode;
    } cases[] = {
        {"under a network mount", net + u"/nova/empresa"_s, CompanyStore::MayCreate},
        {"on the network mount itself", net, CompanyStore::MayCreate},
        {"missing on a local disk", local + u"/nova"_s, CompanyStore::MayCreate},
        {"a folder without a store, when one must exist", local, CompanyStore::MustExist},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectRefused([&] { Store::openCompany(c.folder, catalog, c.mode, mounts); });
    }
    expectRefused([&] { requireLocalFileSystem(net + u"/nova"_s, mounts); });
}

TEST_F(StoreLocation, OpeningThroughALinkUsesTheRealFileAndItsLockFile)
{
    const QString other = mkdir(u"atalho"_s);
    ASSERT_TRUE(QFile::link(local + u"/dados.sqlite"_s, other + u"/dados.sqlite"_s));
    auto viaLink = Store::openCompany(other, catalog, CompanyStore::MayCreate, mounts);
    EXPECT_EQ(viaLink->path(), local + u"/dados.sqlite"_s);
    EXPECT_EQ(dynamic_cast<LockFile&>(viaLink->locks()).path(), local + u"/dados.sqlite-locks"_s);
    EXPECT_FALSE(QFileInfo::exists(other + u"/dados.sqlite-locks"_s));
    EXPECT_FALSE(QFileInfo::exists(other + u"/dados.sqlite-wal"_s));
}

}  // namespace
