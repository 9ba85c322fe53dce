// The screen-test harness itself: the model tester sees every model of the
// windows the registry builds, and what it finds fails the test.
#include "CompanyScreens.h"

#include <QStandardItemModel>
#include <gtest/gtest-spi.h>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

// A model that breaks the rules: a negative row count.
class BrokenModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex& = {}) const override { return -1; }
    int columnCount(const QModelIndex& = {}) const override { return 1; }
    QVariant data(const QModelIndex&, int) const override { return {}; }
};

template <class Model>
QWidget* windowWith()
{
    auto* w = new QWidget;
    new Model(w);
    return w;
}

void buildWindowWithBrokenModel()
{
    test::ScreenHarness ui;
    ui.screens.add(u"Quebrada"_s, windowWith<BrokenModel>);
    ui.screens.create(u"Quebrada"_s);
}

TEST(ScreenHarness, EveryModelOfAWindowTheRegistryBuildsIsWatched)
{
    test::ScreenHarness ui;
    ui.screens.add(u"Tela"_s, windowWith<QStandardItemModel>);
    QWidget* w = ui.screens.create(u"Tela"_s);
    ASSERT_TRUE(w);
    auto* model = w->findChild<QStandardItemModel*>();
    ASSERT_TRUE(model);
    EXPECT_TRUE(model->findChild<QAbstractItemModelTester*>());
}

TEST(ScreenHarness, WhatTheModelTesterFindsFailsTheTest)
{
    ::testing::TestPartResultArray failures;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        buildWindowWithBrokenModel();
    }
    ASSERT_GT(failures.size(), 0);
    const std::string first = failures.GetTestPartResult(0).message();
    EXPECT_NE(first.find("model tester"), std::string::npos) << first;
    EXPECT_NE(first.find("rowCount() >= 0"), std::string::npos) << first;
}

}  // namespace
