#include "ScreenRegistry.h"

#include <QApplication>
#include <QDialog>

namespace pcp {

ScreenRegistry::~ScreenRegistry()
{
    // The program's registry outlives QApplication; widgets cannot be deleted then.
    if (QApplication::instance())
        destroyAll();
}

ScreenRegistry& ScreenRegistry::instance()
{
    static ScreenRegistry registry;
    return registry;
}

void ScreenRegistry::add(ScreenInfo screen)
{
    if (Entry* e = entry(screen.name)) {
        e->info = std::move(screen);
        return;
    }
    entries_.push_back({std::move(screen), {}});
}

void ScreenRegistry::add(const QString& name, std::function<QWidget*()> factory, const QString& caption,
                         ScreenInfo::Lifetime lifetime)
{
    ScreenInfo info;
    info.name = name;
    info.factory = std::move(factory);
    info.caption = caption;
    info.lifetime = lifetime;
    add(std::move(info));
}

bool ScreenRegistry::contains(const QString& name) const { return entry(name) != nullptr; }

QStringList ScreenRegistry::names() const
{
    QStringList out;
    for (const Entry& e : entries_)
        out << e.info.name;
    return out;
}

const ScreenInfo* ScreenRegistry::info(const QString& name) const
{
    const Entry* e = entry(name);
    return e ? &e->info : nullptr;
}

QWidget* ScreenRegistry::find(const QString& name) const
{
    const Entry* e = entry(name);
    return e ? e->widget.data() : nullptr;
}

QWidget* ScreenRegistry::create(const QString& name)
{
    Entry* e = entry(name);
    if (!e)
        return nullptr;
    if (e->widget)
        return e->widget;
    if (!e->info.factory)
        return nullptr;
    QWidget* w = e->info.factory();
    if (!w)
        return nullptr;
    // The factory may have re-registered screens and moved the entries.
    e = entry(name);
    if (w->objectName().isEmpty())
        w->setObjectName(name);
    w->setAttribute(Qt::WA_DeleteOnClose, e->info.lifetime == ScreenInfo::Lifetime::DeleteOnClose);
    e->widget = w;
    if (created_)
        created_(w);
    return w;
}

QWidget* ScreenRegistry::open(const QString& name)
{
    QWidget* w = create(name);
    if (!w)
        return nullptr;
    const Entry* e = entry(name);
    if (e->info.modal) {
        if (auto* dialog = qobject_cast<QDialog*>(w)) {
            QPointer<QWidget> guard(w);
            dialog->exec();
            return guard.data();
        }
    }
    if (w->isMinimized())
        w->showNormal();
    else
        w->show();
    w->raise();
    w->activateWindow();
    return w;
}

void ScreenRegistry::closeAll()
{
    std::vector<QPointer<QWidget>> open;
    for (const Entry& e : entries_)
        if (e.widget && e.widget->isVisible())
            open.emplace_back(e.widget);
    for (const QPointer<QWidget>& w : open)
        if (w)
            w->close();
}

void ScreenRegistry::destroyAll()
{
    std::vector<QPointer<QWidget>> live;
    for (Entry& e : entries_) {
        live.emplace_back(e.widget);
        e.widget = nullptr;
    }
    for (const QPointer<QWidget>& w : live)
        delete w.data();
}

ScreenRegistry::Entry* ScreenRegistry::entry(const QString& name)
{
    for (Entry& e : entries_)
        if (e.info.name == name)
            return &e;
    return nullptr;
}

const ScreenRegistry::Entry* ScreenRegistry::entry(const QString& name) const
{
    for (const Entry& e : entries_)
        if (e.info.name == name)
            return &e;
    return nullptr;
}

}  // namespace pcp
