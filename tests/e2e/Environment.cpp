#include <gtest/gtest.h>

#include "Driver.h"

namespace e2e {
namespace {

// Every test process starts from a desktop without our program on it.
class CleanDesktop : public ::testing::Environment {
 public:
  void SetUp() override {
    EndLeftoverPrograms();
    WaitUntil([] { return TrayIconCount() == 0; }, 5s);
  }
};

const auto* const kCleanDesktop = ::testing::AddGlobalTestEnvironment(new CleanDesktop);

}  // namespace
}  // namespace e2e
