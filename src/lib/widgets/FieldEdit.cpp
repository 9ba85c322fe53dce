#include "FieldEdit.h"

#include "DbError.h"
#include "Formats.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

// ---- edit masks ----------------------------------------------------------------

namespace {
QString qtLiteral(QChar c)
{
    static const QString qtMeta = u"AaNnXx90Dd#HhBb><![]{}\\"_s;
    return qtMeta.contains(c) ? u"\\"_s + c : QString(c);
}
}  // namespace

EditMask parseEditMask(const QString& formMask)
{
    EditMask out;
    if (formMask.isEmpty())
        return out;
    QStringList parts = formMask.split(u';');
    QString blank = u"_"_s;
    if (parts.size() >= 3)
        blank = parts.takeLast().left(1);
    if (parts.size() >= 2)
        out.saveLiterals = parts.takeLast().trimmed() != u"0"_s;
    const QString mask = parts.join(u';');
    if (blank.isEmpty())
        blank = u" "_s;

    QString qt;
    auto typed = [&](QChar qtChar) {
        qt += qtChar;
        out.literal << false;
    };
    auto fixed = [&](QChar c) {
        qt += qtLiteral(c);
        out.literal << true;
    };
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        switch (c.unicode()) {
        case u'!': break;
        case u'>': qt += u'>'; break;
        case u'<':
            if (i + 1 < mask.size() && mask[i + 1] == u'>') {
                qt += u'!';
                ++i;
            } else {
                qt += u'<';
            }
            break;
        case u'\\':
            if (i + 1 < mask.size())
                fixed(mask[++i]);
            break;
        case u'0': typed(u'9'); break;
        case u'9': typed(u'0'); break;
        case u'#': typed(u'#'); break;
        case u'L': typed(u'A'); break;
        case u'l': typed(u'a'); break;
        case u'A': typed(u'N'); break;
        case u'a': typed(u'n'); break;
        case u'C': typed(u'X'); break;
        case u'c': typed(u'x'); break;
        case u'_': fixed(u' '); break;
        default: fixed(c); break;
        }
    }
    if (!out.literal.isEmpty())
        out.inputMask = qt + u';' + blank;
    return out;
}

// ---- display ---------------------------------------------------------------------

QString displayText(const QVariant& value, FieldType type, const QString& format)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (type) {
    case FieldType::Date: return formatDate(value.toDate());
    case FieldType::Time: return formatTime(value.toTime());
    case FieldType::DateTime: return formatDateTime(value.toDateTime());
    case FieldType::Boolean: {
        const QStringList names = format.split(u';');
        if (names.size() == 2)
            return value.toBool() ? names[0] : names[1];
        return value.toBool() ? u"True"_s : u"False"_s;
    }
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob: return value.toString();
    default: break;
    }
    const bool integral = isIntegral(type);
    if (format.startsWith(u'%')) {
        try {
            return formatText(format, {integral ? QVariant(value.toLongLong()) : QVariant(value.toDouble())});
        } catch (const ConversionError&) {
            // a format the value does not fit: show it plainly
        }
    } else if (!format.isEmpty()) {
        return formatMask(format, value.toDouble());
    }
    return integral ? QString::number(value.toLongLong()) : formatMask(QString(), value.toDouble());
}

// ---- FieldEdit -------------------------------------------------------------------

FieldEdit::FieldEdit(const FieldDef& field, QWidget* parent) : QLineEdit(parent), field_(field)
{
    setObjectName(field.name);
    if (field.type == FieldType::String && field.size > 0)
        setMaxLength(field.size);
    if (isNumeric(field.type))
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void FieldEdit::setAccess(FieldAccess access)
{
    access_ = access;
    const bool readOnly = access == FieldAccess::ReadOnly;
    setReadOnly(readOnly);
    // Tab and Enter pass over a box the user cannot change.
    setFocusPolicy(readOnly ? Qt::ClickFocus : Qt::StrongFocus);
}

void FieldEdit::setEditMask(const QString& formMask)
{
    formMask_ = formMask;
    mask_ = parseEditMask(formMask);
    setInputMask(mask_.inputMask);
    if (mask_.inputMask.isEmpty() && field_.type == FieldType::String && field_.size > 0)
        setMaxLength(field_.size);
    shownText_ = text();
}

QString FieldEdit::fieldText() const
{
    if (mask_.inputMask.isEmpty())
        return text();
    // displayText() has one character per mask position, blanks included.
    const QString shown = displayText();
    const QChar blank = mask_.inputMask.back();
    QString out;
    bool typedAny = false;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const bool isLiteral = i < mask_.literal.size() && mask_.literal[i];
        if (isLiteral) {
            if (mask_.saveLiterals)
                out += shown[i];
        } else if (shown[i] != blank) {
            out += shown[i];
            typedAny = true;
        }
    }
    return typedAny ? out : QString();
}

void FieldEdit::refuse(const QString& what) const
{
    throw DbError(u"'%1' não é %2 (campo %3)"_s.arg(fieldText().trimmed(), what, field_.name));
}

QVariant FieldEdit::value() const
{
    const QString t = fieldText();
    if (t.trimmed().isEmpty())
        return {};
    try {
        if (isIntegral(field_.type))
            return toInteger(t);
        if (isNumeric(field_.type))
            return toNumber(t);
    } catch (const ConversionError&) {
        refuse(isIntegral(field_.type) ? u"um número inteiro válido"_s : u"um número válido"_s);
    }
    if (field_.type == FieldType::Date) {
        const auto date = parseDate(t);
        if (!date)
            refuse(u"uma data válida"_s);
        return *date;
    }
    return t;  // the table layer checks the rest (length, times, flags)
}

void FieldEdit::showValue(const QVariant& value)
{
    setText(pcp::displayText(value, field_.type, field_.displayFormat));
    shownText_ = text();
    setCursorPosition(0);
}

void FieldEdit::load(const TableCursor& cursor) { showValue(cursor.value(field_.name)); }

void FieldEdit::store(TableCursor& cursor) const
{
    if (changed())
        cursor.setValue(field_.name, value());
}

QSize FieldEdit::sizeHint() const
{
    int chars = 0;
    switch (field_.type) {
    case FieldType::String: chars = field_.size > 0 ? qBound(4, field_.size, 50) : 30; break;
    case FieldType::Memo: chars = 50; break;
    case FieldType::Date: chars = 10; break;
    case FieldType::Time: chars = 8; break;
    case FieldType::DateTime: chars = 19; break;
    case FieldType::SmallInt: chars = 6; break;
    case FieldType::Boolean: chars = 4; break;
    default: chars = 14; break;
    }
    if (!mask_.literal.isEmpty())
        chars = int(mask_.literal.size());
    QSize hint = QLineEdit::sizeHint();
    hint.setWidth(fontMetrics().horizontalAdvance(u'0') * (chars + 1) + 12);
    return hint;
}

void FieldEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (upperCase_ && typed != typed.toUpper()) {
        QKeyEvent upper(event->type(), event->key(), event->modifiers(), typed.toUpper(), event->isAutoRepeat(),
                        ushort(event->count()));
        QLineEdit::keyPressEvent(&upper);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// ---- Enter moves to the next field -------------------------------------------

namespace {
bool isPlainEnter(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           !(key->modifiers() & ~Qt::KeypadModifier);
}

// Program-wide: Enter on a focused push button presses it, in every window
// and dialog, whether or not the window moves the focus on Enter.
class EnterPressesButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!isPlainEnter(event))
            return false;
        // Keys reach a button only when it has the focus.
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!button || !button->isEnabled())
            return false;
        button->click();
        return true;
    }
};

void installEnterPressesButton()
{
    static QPointer<EnterPressesButton> installed;  // dies with the application object
    if (qApp && !installed) {
        installed = new EnterPressesButton(qApp);
        qApp->installEventFilter(installed);
    }
}
}  // namespace

// Any program that links the widgets gets it as soon as its application object exists.
Q_COREAPP_STARTUP_FUNCTION(installEnterPressesButton)

void EnterMovesFocus::pressButtonsOnEnter() { installEnterPressesButton(); }

void EnterMovesFocus::install(QWidget* window)
{
    pressButtonsOnEnter();
    if (!window->findChild<EnterMovesFocus*>(QString(), Qt::FindDirectChildrenOnly))
        window->installEventFilter(new EnterMovesFocus(window));
}

QWidget* EnterMovesFocus::nextField(QWidget* from)
{
    QWidget* window = from->window();
    for (QWidget* w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain()) {
        if (w->window() == window && w != window && w->isVisibleTo(window) && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy())
            return w;
    }
    return nullptr;
}

bool EnterMovesFocus::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != parent() || !isPlainEnter(event))
        return false;
    QWidget* focus = static_cast<QWidget*>(watched)->focusWidget();
    if (!focus)
        return false;
    for (QWidget* w = focus; w && !w->isWindow(); w = w->parentWidget())
        if (qobject_cast<QAbstractItemView*>(w))
            return false;
    if (QWidget* next = nextField(focus))
        next->setFocus(Qt::TabFocusReason);
    return true;
}

}  // namespace pcp
