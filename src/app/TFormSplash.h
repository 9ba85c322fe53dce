#pragma once
// The splash shown while the screens are prepared.
#include <QWidget>

namespace pcp {

class TFormSplash : public QWidget {
public:
    explicit TFormSplash(QWidget* parent = nullptr);
};

}  // namespace pcp
