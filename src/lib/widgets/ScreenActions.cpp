#include "ScreenActions.h"

#include "Formats.h"
#include "Messages.h"
#include "Transaction.h"

#include <QRegularExpression>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
// Holds back the notices (OK-only boxes) shown while a transaction is open and
// shows them when it has ended, so a box waiting for the user never keeps the
// store's write lock. A question cannot wait for its answer: it is passed on
// at once, after the notices held so far.
class DeferredNotices final : public MessageService {
public:
    DeferredNotices() : real_(messages()) { setMessageService(this); }
    ~DeferredNotices() override { release(); }
    DeferredNotices(const DeferredNotices&) = delete;
    DeferredNotices& operator=(const DeferredNotices&) = delete;

    void release()
    {
        if (released_)
            return;
        released_ = true;
        setMessageService(&real_);
        flush();
    }
    MsgAnswer show(const Message& message) override
    {
        if (message.buttons == MsgButtons::Ok) {
            held_.push_back(message);
            return MsgAnswer::Ok;
        }
        flush();
        return real_.show(message);
    }
    std::optional<QString> input(const InputRequest& request) override
    {
        flush();
        return real_.input(request);
    }

private:
    void flush()
    {
        std::vector<Message> held;
        held.swap(held_);
        for (const Message& m : held)
            real_.show(m);
    }
    MessageService& real_;
    std::vector<Message> held_;
    bool released_ = false;
};
}  // namespace

// Passes every message on with the screen's fields named by their labels, so
// the table layer's own boxes ("O campo Peso_Liq deve ser preenchido") speak
// the screen's words too.
class ScreenActions::LabelledMessages final : public MessageService {
public:
    explicit LabelledMessages(const ScreenActions& actions) : actions_(actions), real_(messages())
    {
        setMessageService(this);
    }
    ~LabelledMessages() override { setMessageService(&real_); }
    LabelledMessages(const LabelledMessages&) = delete;
    LabelledMessages& operator=(const LabelledMessages&) = delete;

    MsgAnswer show(const Message& message) override
    {
        Message labelled = message;
        labelled.text = actions_.relabel(message.text);
        return real_.show(labelled);
    }
    std::optional<QString> input(const InputRequest& request) override { return real_.input(request); }

private:
    const ScreenActions& actions_;
    MessageService& real_;
};

ScreenActions::Scope::Scope(const ScreenActions& actions) : actions_(actions)
{
    if (actions_.scopes_++ == 0 && !actions_.labels_.isEmpty())
        labelled_ = std::make_unique<LabelledMessages>(actions_);
}

ScreenActions::Scope::~Scope()
{
    labelled_.reset();
    --actions_.scopes_;
}

ScreenActions::ScreenActions() = default;
ScreenActions::~ScreenActions() = default;

QString errorText(const std::exception& e)
{
    if (const auto* db = dynamic_cast<const DbError*>(&e))
        return db->message();
    if (const auto* conversion = dynamic_cast<const ConversionError*>(&e))
        return conversion->message();
    return QString::fromUtf8(e.what());
}

bool aceita(const QString& problema)
{
    if (problema.isEmpty())
        return true;
    mostraErro(problema);
    return false;
}

void ScreenActions::nameField(const QString& field, const QString& label)
{
    QString shown = label;
    shown.remove(u'&');
    shown = shown.trimmed();
    if (shown.endsWith(u':'))
        shown.chop(1);
    shown = shown.trimmed();
    if (!field.isEmpty() && !shown.isEmpty() && shown != field)
        labels_.append({field, shown});
}

QString ScreenActions::describe(const std::exception& e) const { return relabel(errorText(e)); }

QString ScreenActions::relabel(const QString& text) const
{
    if (labels_.isEmpty())
        return text;
    // The table layer names a field as "campo <name>"; the user knows it by
    // its label. One pass, so a label is never taken for another field's name.
    QStringList names;
    for (const auto& [field, label] : labels_)
        names << QRegularExpression::escape(field);
    const QRegularExpression reference(u"\\bcampo\\s+("_s + names.join(u'|') + u")\\b"_s,
                                       QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype done = 0;
    for (auto it = reference.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const auto named = std::find_if(labels_.begin(), labels_.end(), [&](const auto& fieldLabel) {
            return fieldLabel.first.compare(m.captured(1), Qt::CaseInsensitive) == 0;
        });
        out += QStringView(text).mid(done, m.capturedStart(1) - done);
        out += named->second;
        done = m.capturedEnd(1);
    }
    return out + QStringView(text).mid(done);
}

void ScreenActions::showError(const std::exception& e) const
{
    const Scope labelled(*this);
    mostraErro(errorText(e));
}

bool ScreenActions::guarded(const std::function<void()>& action) const
{
    const Scope labelled(*this);
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        mostraErro(errorText(e));
        return false;
    }
}

bool ScreenActions::runAtomically(Database& db, const std::function<bool()>& action) const
{
    const Scope labelled(*this);
    DeferredNotices notices;
    bool done = false;
    QString failure;
    try {
        Transaction tx(db);
        done = action();
        if (done)
            tx.commit();
    } catch (const std::exception& e) {
        done = false;
        failure = errorText(e);
    }
    notices.release();
    if (!failure.isEmpty())
        mostraErro(failure);
    return done;
}

bool ScreenActions::storeFields(const QList<BoundField*>& fields, TableCursor& cursor) const
{
    for (BoundField* f : fields) {
        try {
            f->store(cursor);
        } catch (const DbError& e) {
            showError(e);
            f->widget()->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    return true;
}

}  // namespace pcp
