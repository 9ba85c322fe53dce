#include "Messages.h"

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
StderrMessages defaultService;
MessageService* current = nullptr;

// Each icon's word in the log and its standard caption (none for no icon).
struct IconTexts {
    MsgIcon icon;
    const char16_t* name;
    const char16_t* caption;
};
const IconTexts kIconTexts[] = {
    {MsgIcon::None, u"nenhum", nullptr},
    {MsgIcon::Information, u"informacao", u"Informação"},
    {MsgIcon::Warning, u"aviso", u"Aviso"},
    {MsgIcon::Error, u"erro", u"Erro"},
    {MsgIcon::Question, u"pergunta", u"Confirmação"},
};

const IconTexts* textsOf(MsgIcon icon)
{
    for (const IconTexts& t : kIconTexts)
        if (t.icon == icon)
            return &t;
    return nullptr;
}

QString iconName(MsgIcon icon)
{
    const IconTexts* t = textsOf(icon);
    return t ? QString::fromUtf16(t->name) : QString();
}

MsgAnswer firstAnswer(MsgButtons buttons)
{
    return buttons == MsgButtons::Ok || buttons == MsgButtons::OkCancel ? MsgAnswer::Ok
                                                                         : MsgAnswer::Yes;
}

MsgAnswer cancelAnswer(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::OkCancel: return MsgAnswer::Cancel;
    case MsgButtons::YesNo: return MsgAnswer::No;
    case MsgButtons::YesNoCancel: return MsgAnswer::Cancel;
    }
    return MsgAnswer::Cancel;
}

bool answerFits(MsgAnswer answer, MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok: return answer == MsgAnswer::Ok;
    case MsgButtons::OkCancel: return answer == MsgAnswer::Ok || answer == MsgAnswer::Cancel;
    case MsgButtons::YesNo: return answer == MsgAnswer::Yes || answer == MsgAnswer::No;
    case MsgButtons::YesNoCancel: return answer != MsgAnswer::Ok;
    }
    return false;
}
}  // namespace

MessageService& messages() { return current ? *current : defaultService; }
void setMessageService(MessageService* service) { current = service; }

MessageServiceScope::MessageServiceScope(MessageService& service) : previous_(current)
{
    current = &service;
}
MessageServiceScope::~MessageServiceScope() { current = previous_; }

QString standardCaption(MsgIcon icon)
{
    const IconTexts* t = textsOf(icon);
    return t && t->caption ? QString::fromUtf16(t->caption) : u"Velumar32"_s;
}

QString describe(const Message& m)
{
    const QString caption = m.caption.isEmpty() ? standardCaption(m.icon) : m.caption;
    return caption + u": "_s + m.text;
}

void mostraMensagem(const QString& text) { messages().show({MsgIcon::None, {}, text, MsgButtons::Ok}); }
void mostraInformacao(const QString& text, const QString& caption)
{
    messages().show({MsgIcon::Information, caption, text, MsgButtons::Ok});
}
void mostraAviso(const QString& text, const QString& caption)
{
    messages().show({MsgIcon::Warning, caption, text, MsgButtons::Ok});
}
void mostraErro(const QString& text, const QString& caption)
{
    messages().show({MsgIcon::Error, caption, text, MsgButtons::Ok});
}
bool confirma(const QString& text, const QString& caption)
{
    return messages().show({MsgIcon::Question, caption, text, MsgButtons::YesNo}) == MsgAnswer::Yes;
}
std::optional<QString> pedeTexto(const QString& caption, const QString& prompt,
                                 const QString& defaultValue)
{
    return messages().input({caption, prompt, defaultValue, false});
}

MsgAnswer StderrMessages::show(const Message& message)
{
    std::fprintf(stderr, "%s\n", qUtf8Printable(message.text));
    return firstAnswer(message.buttons);
}

std::optional<QString> StderrMessages::input(const InputRequest&) { return std::nullopt; }

ScriptedMessages::Expectation& ScriptedMessages::expect(const QString& text, MsgAnswer answer)
{
    Expectation e;
    e.text = text;
    e.answer = answer;
    expected_.push_back(std::move(e));
    return expected_.back();
}

ScriptedMessages::Expectation& ScriptedMessages::expectInput(const QString& caption,
                                                             std::optional<QString> answer)
{
    Expectation e;
    e.isInput = true;
    e.caption = caption;
    e.inputAnswer = std::move(answer);
    expected_.push_back(std::move(e));
    return expected_.back();
}

MsgAnswer ScriptedMessages::show(const Message& message)
{
    const QString seen = describe(message);
    shown_ << seen;
    if (expected_.empty() || expected_.front().isInput) {
        failures_ << u"mensagem inesperada [%1] %2"_s.arg(iconName(message.icon), seen);
        return cancelAnswer(message.buttons);
    }
    Expectation e = std::move(expected_.front());
    expected_.pop_front();
    QStringList wrong;
    if (e.text != message.text)
        wrong << u"texto esperado \"%1\""_s.arg(e.text);
    const QString caption = message.caption.isEmpty() ? standardCaption(message.icon) : message.caption;
    if (e.caption && *e.caption != caption)
        wrong << u"titulo esperado \"%1\""_s.arg(*e.caption);
    if (e.icon && *e.icon != message.icon)
        wrong << u"icone esperado %1"_s.arg(iconName(*e.icon));
    if (e.buttons && *e.buttons != message.buttons)
        wrong << u"botoes diferentes"_s;
    if (!answerFits(e.answer, message.buttons))
        wrong << u"a resposta do roteiro nao e um dos botoes da mensagem"_s;
    if (!wrong.isEmpty()) {
        failures_ << u"mensagem \"%1\": %2"_s.arg(seen, wrong.join(u"; "_s));
        return cancelAnswer(message.buttons);
    }
    if (e.before)
        e.before();
    return e.answer;
}

std::optional<QString> ScriptedMessages::input(const InputRequest& request)
{
    const QString seen = request.caption + u" / "_s + request.prompt;
    shown_ << seen;
    if (expected_.empty() || !expected_.front().isInput) {
        failures_ << u"pedido de texto inesperado: "_s + seen;
        return std::nullopt;
    }
    Expectation e = std::move(expected_.front());
    expected_.pop_front();
    if (e.caption && *e.caption != request.caption) {
        failures_ << u"pedido de texto \"%1\": titulo esperado \"%2\""_s.arg(seen, *e.caption);
        return std::nullopt;
    }
    if (e.before)
        e.before();
    return e.inputAnswer;
}

QStringList ScriptedMessages::failures() const
{
    QStringList all = failures_;
    for (const Expectation& e : expected_)
        all << u"mensagem esperada nao apareceu: "_s + (e.isInput ? e.caption.value_or(QString()) : e.text);
    return all;
}

void ScriptedMessages::clear()
{
    expected_.clear();
    shown_.clear();
    failures_.clear();
}

}  // namespace pcp
