#include "ScenarioWidgets.h"

#include "ScenarioScript.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTextEdit>

using namespace Qt::Literals::StringLiterals;

namespace pcp::scenario {

namespace {

[[noreturn]] void fail(const QString& text) { throw ScenarioError{text}; }

QString kindOf(const QWidget* w) { return QString::fromLatin1(w->metaObject()->className()); }

QList<QWidget*> roots(QWidget* root)
{
    if (root)
        return {root};
    QList<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            out << w;
    return out;
}

// root and everything under it
QList<QWidget*> everything(QWidget* root)
{
    QList<QWidget*> out;
    for (QWidget* r : roots(root)) {
        out << r;
        out << r->findChildren<QWidget*>();
    }
    return out;
}

QWidget* formPartner(QLabel* label)
{
    QWidget* parent = label->parentWidget();
    if (!parent)
        return nullptr;
    for (QFormLayout* form : parent->findChildren<QFormLayout*>()) {
        for (int row = 0; row < form->rowCount(); ++row) {
            QLayoutItem* l = form->itemAt(row, QFormLayout::LabelRole);
            QLayoutItem* f = form->itemAt(row, QFormLayout::FieldRole);
            if (l && f && l->widget() == label)
                return f->widget();
        }
    }
    return nullptr;
}

QWidget* one(const QList<QWidget*>& found, const QString& key, const QString& how)
{
    if (found.size() == 1)
        return found.front();
    QList<QWidget*> visible;
    for (QWidget* w : found)
        if (w->isVisible())
            visible << w;
    if (visible.size() == 1)
        return visible.front();
    fail(u"mais de um componente com %1 \"%2\""_s.arg(how, key));
}

std::optional<bool> yesNo(const QString& value)
{
    const QString v = foldKeyword(value);
    if (v == u"sim"_s || v == u"s"_s || v == u"marcado"_s || v == u"1"_s || v == u"true"_s)
        return true;
    if (v == u"nao"_s || v == u"n"_s || v == u"desmarcado"_s || v == u"0"_s || v == u"false"_s)
        return false;
    return std::nullopt;
}

void sendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

QString keyText(QKeyCombination combo)
{
    const int key = combo.key();
    if (combo.keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return {};
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return u"\r"_s;
    case Qt::Key_Tab: return u"\t"_s;
    case Qt::Key_Escape: return QString(QChar(0x1b));
    case Qt::Key_Backspace: return QString(QChar(0x08));
    case Qt::Key_Space: return u" "_s;
    default: break;
    }
    if (key > 0x20 && key < 0x7f) {
        const QChar c(key);
        return QString(combo.keyboardModifiers() & Qt::ShiftModifier ? c : c.toLower());
    }
    return {};
}

void typeText(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        if (c == u'\n') {
            sendKey(target, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
            continue;
        }
        const QChar upper = c.toUpper();
        const int key = upper.unicode() < 0x100 ? int(upper.unicode()) : int(Qt::Key_unknown);
        sendKey(target, key, Qt::NoModifier, QString(c));
    }
}

void clearAndType(QWidget* target, const QString& text)
{
    target->setFocus(Qt::OtherFocusReason);
    sendKey(target, Qt::Key_Delete, Qt::NoModifier, {});
    typeText(target, text);
}

QString variantText(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }

int fetchTo(QAbstractItemModel* model, int rows)
{
    while (model->rowCount() < rows && model->canFetchMore({})) {
        const int before = model->rowCount();
        model->fetchMore({});
        if (model->rowCount() == before)
            break;
    }
    return model->rowCount();
}

QAbstractItemModel* modelOf(QAbstractItemView* view, const QString& key)
{
    if (!view->model())
        fail(u"a grade \"%1\" não tem dados"_s.arg(key));
    return view->model();
}

void requireRow(QAbstractItemView* view, const QString& key, int row)
{
    const int rows = fetchTo(modelOf(view, key), row);
    if (row > rows)
        fail(u"a grade \"%1\" tem %2 linha(s), não há a linha %3"_s.arg(key).arg(rows).arg(row));
}

}  // namespace

QString stripAccelerator(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&') {
            if (i + 1 < text.size() && text.at(i + 1) == u'&')
                out += text.at(++i);
            continue;
        }
        out += text.at(i);
    }
    return out;
}

QWidget* findWidget(QWidget* root, const QString& key, Want want)
{
    const QList<QWidget*> all = everything(root);
    QList<QWidget*> named;
    for (QWidget* w : all)
        if (w->objectName() == key)
            named << w;
    if (!named.isEmpty())
        return one(named, key, u"o nome"_s);

    QList<QWidget*> captioned;
    for (QWidget* w : all) {
        if (!w->isVisible())
            continue;
        if (want != Want::Button) {
            if (auto* label = qobject_cast<QLabel*>(w); label && stripAccelerator(label->text()) == key) {
                QWidget* field = label->buddy() ? label->buddy() : formPartner(label);
                if (field && !captioned.contains(field))
                    captioned << field;
                continue;
            }
        }
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && stripAccelerator(b->text()) == key) {
            if (want != Want::Field || b->isCheckable())
                captioned << b;
        }
    }
    if (!captioned.isEmpty())
        return one(captioned, key, u"o rótulo"_s);
    const QString what = want == Want::Button ? u"botão"_s : want == Want::Field ? u"campo"_s : u"componente"_s;
    fail(u"%1 \"%2\" não encontrado"_s.arg(what, key));
}

QAbstractItemView* findView(QWidget* root, const QString& key)
{
    QWidget* w = findWidget(root, key, Want::Any);
    auto* view = qobject_cast<QAbstractItemView*>(w);
    if (!view)
        fail(u"\"%1\" não é uma grade (é um %2)"_s.arg(key, kindOf(w)));
    return view;
}

QWidget* findWindow(const QString& key)
{
    QList<QWidget*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && (w->objectName() == key || kindOf(w) == key || w->windowTitle() == key))
            found << w;
    if (found.isEmpty())
        fail(u"janela \"%1\" não está aberta"_s.arg(key));
    if (found.size() > 1) {
        if (found.contains(QApplication::activeWindow()))
            return QApplication::activeWindow();
        fail(u"mais de uma janela \"%1\" aberta"_s.arg(key));
    }
    return found.front();
}

void requireUsable(QWidget* w, const QString& key)
{
    if (!w->isVisible())
        fail(u"\"%1\" não está visível"_s.arg(key));
    if (!w->isEnabled())
        fail(u"\"%1\" está desabilitado"_s.arg(key));
}

void activate(QWidget* w)
{
    QWidget* window = w->window();
    if (QApplication::activeWindow() != window) {
        window->activateWindow();
        QApplication::setActiveWindow(window);
    }
}

template <typename Edit>
void requireWritable(Edit* edit, const QString& key)
{
    if (edit->isReadOnly())
        fail(u"\"%1\" é somente leitura"_s.arg(key));
}

// A text control filled as a user would: focused, all selected, typed over.
template <typename Edit>
void typeOver(Edit* edit, const QString& key, const QString& value)
{
    requireWritable(edit, key);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    clearAndType(edit, value);
}

void fill(QWidget* w, const QString& key, const QString& value)
{
    requireUsable(w, key);
    activate(w);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        typeOver(edit, key, value);
    } else if (auto* dates = qobject_cast<QDateTimeEdit*>(w)) {
        requireWritable(dates, key);
        // Typed section by section from the first one, as after clicking into it.
        dates->setFocus(Qt::OtherFocusReason);
        dates->setSelectedSection(dates->sectionAt(0));
        typeText(dates, value);
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
        typeOver(spin, key, value);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setFocus(Qt::OtherFocusReason);
        if (combo->isEditable()) {
            combo->lineEdit()->selectAll();
            clearAndType(combo, value);
            return;
        }
        const int index = combo->findText(value, Qt::MatchExactly);
        if (index < 0) {
            QStringList items;
            for (int i = 0; i < combo->count(); ++i)
                items << u"\""_s + combo->itemText(i) + u"\""_s;
            fail(u"\"%1\" não tem o item \"%2\" (itens: %3)"_s.arg(key, value, items.join(u", "_s)));
        }
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
        Q_EMIT combo->textActivated(combo->itemText(index));
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        typeOver(plain, key, value);
    } else if (auto* rich = qobject_cast<QTextEdit*>(w)) {
        typeOver(rich, key, value);
    } else if (auto* check = qobject_cast<QAbstractButton*>(w); check && check->isCheckable()) {
        const std::optional<bool> want = yesNo(value);
        if (!want)
            fail(u"\"%1\" é uma caixa de marcar: preencha com sim ou nao"_s.arg(key));
        if (check->isChecked() != *want) {
            if (check->focusPolicy() & Qt::ClickFocus)
                check->setFocus(Qt::MouseFocusReason);
            check->click();
        }
    } else {
        fail(u"não sei preencher \"%1\" (um %2)"_s.arg(key, kindOf(w)));
    }
}

void click(QWidget* root, const QString& key)
{
    QAbstractButton* button = nullptr;
    try {
        QWidget* w = findWidget(root, key, Want::Button);
        button = qobject_cast<QAbstractButton*>(w);
        if (!button)
            fail(u"\"%1\" não é um botão (é um %2)"_s.arg(key, kindOf(w)));
    } catch (const ScenarioError&) {
        // A tab's caption shows its page.
        for (QWidget* w : everything(root)) {
            auto* tabs = qobject_cast<QTabWidget*>(w);
            if (!tabs || !tabs->isVisible())
                continue;
            for (int i = 0; i < tabs->count(); ++i) {
                if (stripAccelerator(tabs->tabText(i)) != key)
                    continue;
                requireUsable(tabs, key);
                if (!tabs->isTabEnabled(i))
                    fail(u"a página \"%1\" está desabilitada"_s.arg(key));
                tabs->setCurrentIndex(i);
                return;
            }
        }
        throw;
    }
    requireUsable(button, key);
    activate(button);
    if (button->focusPolicy() & Qt::ClickFocus)
        button->setFocus(Qt::MouseFocusReason);
    button->click();
}

void triggerMenu(QWidget* root, const QString& path)
{
    QMenuBar* bar = nullptr;
    for (QWidget* r : roots(root)) {
        if (auto* main = qobject_cast<QMainWindow*>(r); main && main->menuWidget())
            bar = qobject_cast<QMenuBar*>(main->menuWidget());
        if (!bar)
            bar = r->findChild<QMenuBar*>();
        if (bar)
            break;
    }
    if (!bar)
        fail(u"a janela não tem barra de menus"_s);
    const QStringList parts = path.split(u'/');
    QList<QAction*> actions = bar->actions();
    QString walked;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        walked += (i ? u"/"_s : QString()) + part;
        QAction* found = nullptr;
        QStringList offered;
        for (QAction* a : actions) {
            if (a->isSeparator() || !a->isVisible())
                continue;
            offered << u"\""_s + stripAccelerator(a->text()) + u"\""_s;
            if (!found && stripAccelerator(a->text()) == part)
                found = a;
        }
        if (!found)
            fail(u"menu \"%1\" não encontrado (há %2)"_s.arg(walked, offered.join(u", "_s)));
        if (!found->isEnabled())
            fail(u"menu \"%1\" está desabilitado"_s.arg(walked));
        const bool last = i + 1 == parts.size();
        if (!last) {
            QMenu* menu = found->menu();
            if (!menu)
                fail(u"menu \"%1\" não tem itens"_s.arg(walked));
            Q_EMIT menu->aboutToShow();
            actions = menu->actions();
            continue;
        }
        if (found->menu())
            fail(u"menu \"%1\" abre um submenu; diga qual item"_s.arg(walked));
        activate(bar);
        found->trigger();
    }
}

void pressKey(QWidget* root, QKeyCombination combo)
{
    QWidget* target = QApplication::focusWidget();
    QWidget* window = root ? root->window() : QApplication::activeWindow();
    if (!window)
        fail(u"nenhuma janela para receber a tecla"_s);
    if (!target || target->window() != window)
        target = window;
    activate(window);
    const int key = combo.key();
    const Qt::KeyboardModifiers modifiers = combo.keyboardModifiers();
    const QString text = keyText(combo);

    QKeyEvent override(QEvent::ShortcutOverride, key, modifiers, text);
    override.ignore();
    QApplication::sendEvent(target, &override);
    if (!override.isAccepted()) {
        const QKeySequence sequence(combo);
        QList<QAction*> actions = window->findChildren<QAction*>();
        for (QWidget* w : window->findChildren<QWidget*>())
            for (QAction* a : w->actions())
                if (!actions.contains(a))
                    actions << a;
        for (QAction* a : actions) {
            if (a->isEnabled() && a->isVisible() && a->shortcuts().contains(sequence)) {
                a->trigger();
                return;
            }
        }
        for (QShortcut* s : window->findChildren<QShortcut*>()) {
            auto* owner = qobject_cast<QWidget*>(s->parent());
            if (s->isEnabled() && s->keys().contains(sequence) && (!owner || owner->isVisible())) {
                Q_EMIT s->activated();
                return;
            }
        }
        for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
            if (b->isVisible() && b->isEnabled() && !b->shortcut().isEmpty() && b->shortcut() == sequence) {
                b->click();
                return;
            }
        }
    }
    sendKey(target, key, modifiers, text);
}

void selectCell(QAbstractItemView* view, const QString& key, int row, int column)
{
    requireUsable(view, key);
    requireRow(view, key, row);
    QAbstractItemModel* model = modelOf(view, key);
    if (column > model->columnCount())
        fail(u"a grade \"%1\" tem %2 coluna(s)"_s.arg(key).arg(model->columnCount()));
    const QModelIndex index = model->index(row - 1, column - 1);
    activate(view);
    view->setFocus(Qt::MouseFocusReason);
    view->setCurrentIndex(index);
    view->scrollTo(index);
    Q_EMIT view->clicked(index);
}

QString cellText(QAbstractItemView* view, const QString& key, int row, const QString& column)
{
    requireRow(view, key, row);
    QAbstractItemModel* model = modelOf(view, key);
    bool number = false;
    int c = column.toInt(&number) - 1;
    if (!number) {
        QStringList titles;
        for (int i = 0; i < model->columnCount() && c < 0; ++i) {
            const QString title = variantText(model->headerData(i, Qt::Horizontal, Qt::DisplayRole));
            titles << u"\""_s + title + u"\""_s;
            if (title == column)
                c = i;
        }
        if (c < 0)
            fail(u"a grade \"%1\" não tem a coluna \"%2\" (colunas: %3)"_s.arg(key, column, titles.join(u", "_s)));
    }
    if (c < 0 || c >= model->columnCount())
        fail(u"a grade \"%1\" tem %2 coluna(s)"_s.arg(key).arg(model->columnCount()));
    const QModelIndex index = model->index(row - 1, c);
    const QVariant value = index.data(Qt::DisplayRole);
    // What the grid paints: the delegate turns numbers and dates into text.
    if (auto* delegate = qobject_cast<QStyledItemDelegate*>(view->itemDelegateForIndex(index)))
        return value.isValid() ? delegate->displayText(value, view->locale()) : QString();
    return variantText(value);
}

int rowCount(QAbstractItemView* view)
{
    QAbstractItemModel* model = view->model();
    return model ? fetchTo(model, std::numeric_limits<int>::max()) : 0;
}

QString shownText(QWidget* w, const QString& key)
{
    if (w->isWindow())
        return w->windowTitle();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->displayText();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(w))
        return spin->text();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentText();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
        return plain->toPlainText();
    if (auto* rich = qobject_cast<QTextEdit*>(w))
        return rich->toPlainText();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return stripAccelerator(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return stripAccelerator(group->title());
    if (auto* tabs = qobject_cast<QTabWidget*>(w))
        return stripAccelerator(tabs->tabText(tabs->currentIndex()));
    if (auto* progress = qobject_cast<QProgressBar*>(w))
        return progress->text();
    const QVariant text = w->property("text");
    if (text.isValid())
        return text.toString();
    fail(u"não sei ler o texto de \"%1\" (um %2)"_s.arg(key, kindOf(w)));
}

bool hasState(QWidget* w, const QString& key, const QString& state)
{
    if (state == u"habilitado"_s)
        return w->isEnabled();
    if (state == u"desabilitado"_s)
        return !w->isEnabled();
    if (state == u"visivel"_s)
        return w->isVisible();
    if (state == u"oculto"_s)
        return !w->isVisible();
    if (state == u"focado"_s)
        return QApplication::focusWidget() == w;
    bool checked = false;
    if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->isCheckable())
        checked = b->isChecked();
    else if (auto* g = qobject_cast<QGroupBox*>(w); g && g->isCheckable())
        checked = g->isChecked();
    else
        fail(u"\"%1\" não é de marcar (é um %2)"_s.arg(key, kindOf(w)));
    return state == u"marcado"_s ? checked : !checked;
}

}  // namespace pcp::scenario
