#pragma once
// Every message box, confirmation and input box of the program goes through
// the current MessageService. The desktop installs the QMessageBox one; tests
// and the scenario runner install ScriptedMessages.
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

namespace pcp {

enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct Message {
    MsgIcon icon = MsgIcon::Information;
    QString caption;  // empty: the kind's standard caption
    QString text;
    MsgButtons buttons = MsgButtons::Ok;
};

struct InputRequest {
    QString caption;
    QString prompt;
    QString defaultValue;
    bool password = false;
};

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MsgAnswer show(const Message& message) = 0;
    // Returns no value when the user cancelled.
    virtual std::optional<QString> input(const InputRequest& request) = 0;
};

// The service in use; a plain stderr one until another is installed.
MessageService& messages();
void setMessageService(MessageService* service);  // nullptr restores the default

// Installs a service for the lifetime of the guard.
class MessageServiceScope {
public:
    explicit MessageServiceScope(MessageService& service);
    ~MessageServiceScope();
    MessageServiceScope(const MessageServiceScope&) = delete;
    MessageServiceScope& operator=(const MessageServiceScope&) = delete;

private:
    MessageService* previous_;
};

// The standard caption of a message kind (an empty caption means this one).
QString standardCaption(MsgIcon icon);

// Shorthands for the common kinds.
void mostraMensagem(const QString& text);                       // plain notice, OK
void mostraInformacao(const QString& text, const QString& caption = {});
void mostraAviso(const QString& text, const QString& caption = {});
void mostraErro(const QString& text, const QString& caption = {});
bool confirma(const QString& text, const QString& caption = {});  // Yes/No, true on Yes
std::optional<QString> pedeTexto(const QString& caption, const QString& prompt,
                                 const QString& defaultValue = {});

// Writes messages to stderr and answers every question with its first button
// (OK or Yes); the batch command and the start-up before a window exists use it.
class StderrMessages : public MessageService {
public:
    MsgAnswer show(const Message& message) override;
    std::optional<QString> input(const InputRequest& request) override;
};

// A script of expected messages. Each shown message must match the next
// expectation (its text exactly, and its caption, icon and buttons when the
// expectation names them); it is answered as the script says. A message nobody
// expected, or an expectation left over, is recorded as a failure.
class ScriptedMessages : public MessageService {
public:
    struct Expectation {
        QString text;
        std::optional<QString> caption;
        std::optional<MsgIcon> icon;
        std::optional<MsgButtons> buttons;
        MsgAnswer answer = MsgAnswer::Ok;
        std::function<void()> before;  // runs before the answer is returned
        bool isInput = false;
        std::optional<QString> inputAnswer;  // no value: the input is cancelled
    };

    Expectation& expect(const QString& text, MsgAnswer answer = MsgAnswer::Ok);
    Expectation& expectInput(const QString& caption, std::optional<QString> answer);

    MsgAnswer show(const Message& message) override;
    std::optional<QString> input(const InputRequest& request) override;

    // Everything that went wrong, including expectations never met. Empty is success.
    QStringList failures() const;
    // Every message shown so far, as "caption: text".
    const QStringList& shown() const { return shown_; }
    bool pending() const { return !expected_.empty(); }
    void clear();

private:
    std::deque<Expectation> expected_;
    QStringList shown_;
    QStringList failures_;
};

QString describe(const Message& message);

}  // namespace pcp
