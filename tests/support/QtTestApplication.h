// One QApplication for a whole test program. Including this header registers it; it
// is gone again before the program's exit handlers run, where Qt tears down its own
// globals and a still-living application would crash.
#pragma once

#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

namespace testsupport {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override { application_ = std::make_unique<QApplication>(argc_, argv_); }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "tessarin-test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

inline const auto* const qtApplication = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace testsupport
