#pragma once
// The program's screens by form class name ("TfoCadEmbalagem"). Each subsystem
// registers its screens at start-up; the menus, the scenario runner and the
// screen capture open them from here, so nobody includes another subsystem's
// screen headers just to show a window.
//
// A screen has at most one instance at a time (the single `foCadEmbalagem` of
// each form). Screens that keep their state between uses are hidden when closed
// and shown again by the next open; the others are destroyed on close and
// created afresh next time.
#include "TDMFilial.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

namespace pcp {

struct ScreenInfo {
    enum class Lifetime {
        DeleteOnClose,  // closing destroys the window; the next open builds a new one
        HideOnClose,    // closing hides it; the next open shows the same window
    };

    QString name;                        // the form class name, also the window's objectName
    std::function<QWidget*()> factory;   // builds the window, without a parent
    QString caption;                     // optional, for lists of screens
    Lifetime lifetime = Lifetime::DeleteOnClose;
    bool modal = false;                  // open() runs it as a modal dialog (QDialog::exec)
};

class ScreenRegistry {
public:
    ScreenRegistry() = default;
    ~ScreenRegistry();  // destroys the instances still alive
    ScreenRegistry(const ScreenRegistry&) = delete;
    ScreenRegistry& operator=(const ScreenRegistry&) = delete;

    // The program's registry (the program has one fixed list of screens).
    static ScreenRegistry& instance();

    // Registers a screen; a second registration of a name replaces the first
    // (its live instance, if any, is left alone).
    void add(ScreenInfo screen);
    void add(const QString& name, std::function<QWidget*()> factory, const QString& caption = {},
             ScreenInfo::Lifetime lifetime = ScreenInfo::Lifetime::DeleteOnClose);

    bool contains(const QString& name) const;
    // The registered names, in registration order.
    QStringList names() const;
    const ScreenInfo* info(const QString& name) const;

    // The live instance, or nullptr (none yet, destroyed, or unknown name).
    QWidget* find(const QString& name) const;
    // The live instance, built now when there is none; not shown. nullptr for an
    // unknown name or a factory that built nothing.
    QWidget* create(const QString& name);
    // Shows the screen (building it on first use) and brings it to the front.
    // A modal screen runs its dialog loop and returns once it is closed (then
    // the result may be nullptr if the window was destroyed on close).
    QWidget* open(const QString& name);
    // Closes every open screen (as the user would: close events run).
    void closeAll();
    // Destroys every live instance.
    void destroyAll();
    // Called with each window the registry builds, before it is shown (the
    // tests watch its models).
    void setCreatedHook(std::function<void(QWidget*)> hook) { created_ = std::move(hook); }

private:
    struct Entry {
        ScreenInfo info;
        QPointer<QWidget> widget;
    };
    Entry* entry(const QString& name);
    const Entry* entry(const QString& name) const;

    std::vector<Entry> entries_;
    std::function<void(QWidget*)> created_;
};

// A factory for the screens that work on the company the branch module has
// open; before a company is chosen there is nothing to build them on.
template <class Screen>
QWidget* onCompanyStore()
{
    TDMFilial* dm = DMFilial();
    if (!dm || !dm->storePtr())
        return nullptr;
    return new Screen(dm->storePtr());
}

}  // namespace pcp
