#pragma once
// The branch screen: the branch of the chosen company.
#include <QWidget>

class QComboBox;
class QPushButton;

namespace pcp {

class TMenuFilial : public QWidget {
    Q_OBJECT
public:
    explicit TMenuFilial(QWidget* parent = nullptr);

    QComboBox* ComboBox1;
    QPushButton* BotaoOK;
    QPushButton* BotaoSair;

signals:
    void ok();
    void sair();

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace pcp
