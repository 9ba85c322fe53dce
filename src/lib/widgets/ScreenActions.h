#pragma once
// How a screen runs what the user asked for, whatever kind of screen it is:
// a handler that reports its error instead of ending the program, a save that
// writes all of its rows or none, and messages that name a field by the label
// the user sees beside it rather than by the field's internal name.
#include "FieldEdit.h"

#include <functional>
#include <memory>
#include <utility>

namespace pcp {

class Database;

// The text of an error for the user: the table layer's message, a
// conversion's message, or what the exception says.
QString errorText(const std::exception& e);

// For a screen's check against a domain rule that words its own refusal:
// true when `problema` is empty, otherwise shows it as an error.
bool aceita(const QString& problema);

class ScreenActions {
public:
    ScreenActions();
    ~ScreenActions();
    ScreenActions(const ScreenActions&) = delete;
    ScreenActions& operator=(const ScreenActions&) = delete;

    // From now on a message about `field` names it `label` ("Peso Liquido"
    // instead of "Peso_Liq"). Accelerator marks and a closing colon are dropped.
    void nameField(const QString& field, const QString& label);
    // A message's text with the screen's fields named by their labels.
    QString relabel(const QString& text) const;
    QString describe(const std::exception& e) const;  // relabel(errorText(e))
    void showError(const std::exception& e) const;

    // Runs a handler the way the general handler would: an error's text is
    // shown and the action abandoned. True when the action ran to its end.
    // Every message shown meanwhile (the table layer's too) names the
    // screen's fields by their labels; so does runAtomically.
    bool guarded(const std::function<void()>& action) const;
    // Runs an action inside one transaction of `db`. Notices shown meanwhile
    // wait until the transaction has ended, so no box keeps the store locked;
    // an error rolls back and is shown. True when committed.
    bool runAtomically(Database& db, const std::function<bool()>& action) const;
    // Writes the user's changes of `fields` into the cursor; the first value
    // refused is shown and its widget focused, and false returned.
    bool storeFields(const QList<BoundField*>& fields, TableCursor& cursor) const;

private:
    class LabelledMessages;
    // While one lives, messages are relabelled (once, however deeply nested).
    class Scope {
    public:
        explicit Scope(const ScreenActions& actions);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        const ScreenActions& actions_;
        std::unique_ptr<LabelledMessages> labelled_;
    };

    QList<std::pair<QString, QString>> labels_;  // field, label
    mutable int scopes_ = 0;
};

}  // namespace pcp
