#pragma once
// Fixture base: installs a ScriptedMessages service for each test and fails the
// test on any message nobody expected or any expected message that never came.
#include "Messages.h"
#include "ServidorTeste.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pcp::test {

class ScriptedTest : public ::testing::Test {
protected:
    // In a server run the temporary folder names a fresh schema of the test
    // server, so every store the test opens in it lives there.
    ScriptedTest() : scope_(script) { preparaPastaDeTeste(tmp.path()); }
    void TearDown() override
    {
        for (const QString& f : script.failures())
            ADD_FAILURE() << f.toStdString();
    }
    // Fails the current test now if the script went wrong so far.
    void checkScript()
    {
        for (const QString& f : script.failures())
            ADD_FAILURE() << f.toStdString();
        script.clear();
    }

    ScriptedMessages script;
    QTemporaryDir tmp;

private:
    MessageServiceScope scope_;
};

}  // namespace pcp::test
