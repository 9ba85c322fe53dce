#pragma once
// What the scenario runner does to widgets: finds them by component name or
// visible caption, types into them through key events (so masks, validators and
// key handlers apply), clicks, walks menus and reads what they show. Every
// function reports a problem by throwing ScenarioError with the text for the user.
#include <QKeyCombination>
#include <QString>

class QAbstractItemView;
class QWidget;

namespace pcp::scenario {

struct ScenarioError {
    QString text;
};

enum class Want {
    Field,   // something one types into or checks: by name, by its label's caption (buddy or form row)
    Button,  // a QAbstractButton: by name or its caption
    Any,     // a field, a button or any named widget
};

// "&Gravar" -> "Gravar", "P&&D" -> "P&D".
QString stripAccelerator(const QString& text);

// Looks up `key` under `root` (root itself included). With no root, under every
// visible top-level window. An objectName wins over a caption; captions only
// match visible widgets. Throws when nothing or more than one visible widget matches.
QWidget* findWidget(QWidget* root, const QString& key, Want want);
QAbstractItemView* findView(QWidget* root, const QString& key);
// A visible top-level window by objectName, class name or title.
QWidget* findWindow(const QString& key);

// Throws unless a user could act on it: visible and enabled.
void requireUsable(QWidget* w, const QString& key);
// Makes the widget's window the active one, so focus changes send their events.
void activate(QWidget* w);

// Replaces the field's contents the way a user would: focus, select all,
// delete, type. Combo boxes without an editor choose the item with that text;
// check boxes take sim/nao.
void fill(QWidget* w, const QString& key, const QString& value);
// Clicks a button by name or caption, or shows the page of a tab with that caption.
void click(QWidget* root, const QString& key);
// Triggers "Menu/Submenu/Item" of the window's menu bar.
void triggerMenu(QWidget* root, const QString& path);
// Presses a key in the focused widget (root when nothing under it has focus).
// A shortcut of the window (action, QShortcut, button mnemonic) takes the key
// unless the focused widget claims it first, as in Qt's own delivery.
void pressKey(QWidget* root, QKeyCombination key);

// Rows and columns count from 1. A column is a number or a header title.
void selectCell(QAbstractItemView* view, const QString& key, int row, int column);
QString cellText(QAbstractItemView* view, const QString& key, int row, const QString& column);
int rowCount(QAbstractItemView* view);

// The text a widget shows: a label's text, an editor's displayed text, a
// combo's current item, a button's caption, a window's title.
QString shownText(QWidget* w, const QString& key);
// habilitado, desabilitado, visivel, oculto, marcado, desmarcado, focado
bool hasState(QWidget* w, const QString& key, const QString& state);

}  // namespace pcp::scenario
