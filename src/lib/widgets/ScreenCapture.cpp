#include "ScreenCapture.h"

#include "Messages.h"
#include "ScreenRegistry.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <exception>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
}  // namespace

bool captureScreens(const QString& dir, CaptureReport* report, ScreenRegistry* registry)
{
    CaptureReport local;
    CaptureReport& out = report ? *report : local;
    ScreenRegistry& screens = registry ? *registry : ScreenRegistry::instance();
    if (!QDir().mkpath(dir)) {
        out.problems << u"não foi possível criar a pasta %1"_s.arg(dir);
        return false;
    }
    // Nobody answers while the pictures are taken: questions get "no"/cancel.
    ScriptedMessages quiet;
    MessageServiceScope scope(quiet);
    for (const QString& name : screens.names()) {
        const qsizetype seen = quiet.shown().size();
        try {
            const bool wasOpen = screens.find(name) && screens.find(name)->isVisible();
            QPointer<QWidget> w = screens.create(name);
            if (!w) {
                out.problems << name + u": a tela não foi criada"_s;
            } else {
                if (!wasOpen)
                    w->show();
                settle();
                const QString path = QDir(dir).filePath(name + u".png"_s);
                if (!w)
                    out.problems << name + u": a tela se fechou ao abrir"_s;
                else if (!w->grab().save(path, "PNG"))
                    out.problems << name + u": não foi possível gravar "_s + path;
                else
                    out.files << path;
                if (w && !wasOpen)
                    w->close();
                settle();
            }
        } catch (const std::exception& e) {
            out.problems << name + u": "_s + QString::fromUtf8(e.what());
        }
        for (qsizetype i = seen; i < quiet.shown().size(); ++i)
            out.messages << name + u": "_s + quiet.shown().at(i);
    }
    return out.ok();
}

}  // namespace pcp
