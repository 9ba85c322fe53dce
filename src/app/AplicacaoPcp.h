#pragma once
// The program's general error handler. A routine that expects a failure
// catches it and shows its own message; an error nobody caught reaches this
// handler instead of ending the program: its text is shown in an error box
// (through the message service) and the action that raised it is abandoned.
#include <QApplication>
#include <functional>

namespace pcp {

// Runs `entrega`; when it throws a std::exception (DbError included) shows the
// text as an error and returns false. Other exceptions pass through.
bool comTratamentoGeral(const std::function<bool()>& entrega);

// The application object of the program: every event, and so every handler a
// window runs, is delivered under the general handler.
class AplicacaoPcp : public QApplication {
public:
    AplicacaoPcp(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace pcp
