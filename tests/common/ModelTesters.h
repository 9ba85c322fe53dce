#pragma once
// Watches item models with QAbstractItemModelTester and fails the running
// test on anything the tester reports (a row count that disagrees with the
// rows, an index of a wrong model, a signal out of order, ...).
#include <QAbstractItemModel>
#include <QAbstractItemModelTester>
#include <QPointer>
#include <QWidget>
#include <gtest/gtest.h>


namespace pcp::test {

class ModelTesters {
public:
    ModelTesters() { previous_ = qInstallMessageHandler(&ModelTesters::handler); }
    ~ModelTesters() { qInstallMessageHandler(previous_); }
    ModelTesters(const ModelTesters&) = delete;
    ModelTesters& operator=(const ModelTesters&) = delete;

    // The tester lives as long as the model.
    static void watch(QAbstractItemModel* model)
    {
        if (!model->findChild<QAbstractItemModelTester*>(QString(), Qt::FindDirectChildrenOnly))
            new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::Warning, model);
    }
    // Every model the window holds.
    static void watchAll(QWidget* window)
    {
        for (QAbstractItemModel* m : window->findChildren<QAbstractItemModel*>())
            watch(m);
    }

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (context.category && qstrcmp(context.category, "qt.modeltest") == 0 && type >= QtWarningMsg) {
            ADD_FAILURE() << "model tester: " << text.toStdString();
            return;
        }
        if (previous_)
            previous_(type, context, text);
    }

    static inline QtMessageHandler previous_ = nullptr;
};

}  // namespace pcp::test
