#pragma once
// One QApplication on Qt's offscreen platform for a whole test program:
// register it once with ::testing::AddGlobalTestEnvironment.
#include <QApplication>

#include <gtest/gtest.h>

namespace morvane::test {

class QtOffscreenEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "morvane-tests";
        static char* argv[] = {name, nullptr};
        app_ = new QApplication(argc, argv);
    }
    void TearDown() override { delete app_; }

private:
    QApplication* app_ = nullptr;
};

} // namespace morvane::test
