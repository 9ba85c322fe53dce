#pragma once
// The desktop's message service: modal QMessageBox and QInputDialog windows
// with the program's captions and Portuguese button texts.
#include "Messages.h"

class QWidget;

namespace pcp {

class DialogMessages : public MessageService {
public:
    MsgAnswer show(const Message& message) override;
    std::optional<QString> input(const InputRequest& request) override;
};

}  // namespace pcp
