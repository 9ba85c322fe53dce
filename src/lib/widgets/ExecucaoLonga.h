#pragma once
// A long run on a screen: while it goes on the screen's controls are
// disabled and the window refuses to close. The run lets the window process
// its events between steps (to repaint and show progress), so without this
// the user could start a second run or destroy the window under the first.
#include <QCloseEvent>
#include <QList>
#include <QWidget>

#include <initializer_list>

namespace pcp {

class ExecucaoLonga {
public:
    bool emAndamento() const { return emAndamento_; }

    // For closeEvent: true (and the event ignored) while a run goes on.
    bool recusaFechar(QCloseEvent* event) const
    {
        if (emAndamento_)
            event->ignore();
        return emAndamento_;
    }

    // The run, from construction to destruction; the controls come back
    // enabled however it ends.
    class Escopo {
    public:
        Escopo(ExecucaoLonga& execucao, std::initializer_list<QWidget*> controles)
            : Escopo(execucao, QList<QWidget*>(controles))
        {
        }
        Escopo(ExecucaoLonga& execucao, const QList<QWidget*>& controles)
            : execucao_(execucao), controles_(controles)
        {
            execucao_.emAndamento_ = true;
            for (QWidget* w : controles_)
                w->setEnabled(false);
        }
        ~Escopo()
        {
            for (QWidget* w : controles_)
                w->setEnabled(true);
            execucao_.emAndamento_ = false;
        }
        Escopo(const Escopo&) = delete;
        Escopo& operator=(const Escopo&) = delete;

    private:
        ExecucaoLonga& execucao_;
        QList<QWidget*> controles_;
    };

private:
    bool emAndamento_ = false;
};

}  // namespace pcp
