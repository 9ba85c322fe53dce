// The screen registry (one instance per screen, hidden or destroyed on close)
// and the capture of every registered screen to PNG files.
#include "Messages.h"
#include "ScreenCapture.h"
#include "ScreenRegistry.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>

using namespace Qt::Literals::StringLiterals;
using namespace pcp;

namespace {

QWidget* screenWithEdit()
{
    auto* w = new QWidget;
    w->resize(200, 80);
    auto* edit = new QLineEdit(w);
    edit->setObjectName(u"edNome"_s);
    return w;
}

QString editText(QWidget* w) { return w->findChild<QLineEdit*>(u"edNome"_s)->text(); }

void settle()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(ScreenRegistry, KeepsOneInstanceAndHonoursTheLifetimeOnClose)
{
    struct Case {
        ScreenInfo::Lifetime lifetime;
        bool sameAfterClose;
    };
    for (const Case c : {Case{ScreenInfo::Lifetime::HideOnClose, true}, Case{ScreenInfo::Lifetime::DeleteOnClose, false}}) {
        SCOPED_TRACE(c.sameAfterClose ? "HideOnClose" : "DeleteOnClose");
        ScreenRegistry screens;
        int built = 0;
        screens.add(u"TfoCadEmbalagem"_s, [&] { ++built; return screenWithEdit(); }, u"Embalagens"_s, c.lifetime);
        EXPECT_EQ(screens.find(u"TfoCadEmbalagem"_s), nullptr);  // nothing built before the first open

        QPointer<QWidget> first = screens.open(u"TfoCadEmbalagem"_s);
        ASSERT_TRUE(first);
        EXPECT_TRUE(first->isVisible());
        EXPECT_EQ(first->objectName(), u"TfoCadEmbalagem"_s);
        first->findChild<QLineEdit*>()->setText(u"tinta"_s);
        EXPECT_EQ(screens.open(u"TfoCadEmbalagem"_s), first.data());  // open again: the same window
        EXPECT_EQ(built, 1);

        first->close();
        settle();
        EXPECT_EQ(bool(first), c.sameAfterClose);
        QWidget* again = screens.open(u"TfoCadEmbalagem"_s);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again == first.data(), c.sameAfterClose);
        EXPECT_EQ(editText(again), c.sameAfterClose ? u"tinta"_s : QString());
        EXPECT_EQ(built, c.sameAfterClose ? 1 : 2);
        screens.closeAll();
        EXPECT_FALSE(again->isVisible() && c.sameAfterClose);
    }
}

TEST(ScreenRegistry, ListsNamesInOrderAndRefusesUnknownOnes)
{
    ScreenRegistry screens;
    screens.add(u"TfoB"_s, &screenWithEdit, u"Primeira"_s);
    screens.add(u"TfoA"_s, &screenWithEdit);
    screens.add(u"TfoB"_s, &screenWithEdit, u"Trocada"_s);  // a second registration replaces the first
    EXPECT_EQ(screens.names(), (QStringList{u"TfoB"_s, u"TfoA"_s}));
    ASSERT_NE(screens.info(u"TfoB"_s), nullptr);
    EXPECT_EQ(screens.info(u"TfoB"_s)->caption, u"Trocada"_s);
    EXPECT_FALSE(screens.contains(u"TfoC"_s));
    EXPECT_EQ(screens.open(u"TfoC"_s), nullptr);
    screens.add(u"TfoNulo"_s, [] { return static_cast<QWidget*>(nullptr); });
    EXPECT_EQ(screens.open(u"TfoNulo"_s), nullptr);
}

TEST(ScreenRegistry, DestroysItsInstances)
{
    QPointer<QWidget> kept;
    {
        ScreenRegistry screens;
        screens.add(u"TfoA"_s, &screenWithEdit, {}, ScreenInfo::Lifetime::HideOnClose);
        kept = screens.open(u"TfoA"_s);
        kept->close();
        ASSERT_TRUE(kept);
    }
    EXPECT_FALSE(kept);
}

TEST(CaptureScreens, SavesAPictureOfEveryScreenWithoutBlocking)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ScreenRegistry screens;
    screens.add(u"TfoCadEmbalagem"_s, &screenWithEdit);
    ScreenInfo modal;
    modal.name = u"TfoDialogo"_s;
    modal.modal = true;  // captured without entering its dialog loop
    modal.factory = [] {
        auto* d = new QDialog;
        d->setWindowTitle(u"Diálogo"_s);
        new QLabel(u"Um diálogo modal"_s, d);
        return d;
    };
    screens.add(modal);
    bool answeredYes = false;
    screens.add(u"TfoPergunta"_s, [&] {
        answeredYes = confirma(u"Carregar os dados?"_s);  // questions while capturing are answered no
        return screenWithEdit();
    });
    screens.add(u"TfoQuebrada"_s, [] { return static_cast<QWidget*>(nullptr); });
    QWidget* open = screens.open(u"TfoCadEmbalagem"_s);

    CaptureReport report;
    const QString out = dir.filePath(u"telas"_s);  // created by the capture
    EXPECT_FALSE(captureScreens(out, &report, &screens));

    EXPECT_EQ(report.files.size(), 3);
    for (const QString& name : {u"TfoCadEmbalagem"_s, u"TfoDialogo"_s, u"TfoPergunta"_s}) {
        const QString file = QDir(out).filePath(name + u".png"_s);
        EXPECT_TRUE(report.files.contains(file)) << name.toStdString();
        const QImage image(file);
        EXPECT_FALSE(image.isNull()) << name.toStdString();
        EXPECT_GT(image.width(), 0);
        EXPECT_GT(QFileInfo(file).size(), 0);
    }
    EXPECT_EQ(report.problems, QStringList{u"TfoQuebrada: a tela não foi criada"_s});
    EXPECT_EQ(report.messages, QStringList{u"TfoPergunta: Confirmação: Carregar os dados?"_s});
    EXPECT_FALSE(answeredYes);

    // What was open stays open; the others are closed again.
    EXPECT_TRUE(open->isVisible());
    settle();
    EXPECT_EQ(screens.find(u"TfoPergunta"_s), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
