// The fixture of tests that build windows from this test program's own layouts: the
// program module and the compressed-form reader are in place while a test runs.
#pragma once

#include "resources/FormLoader.h"
#include "resources/ModuleResources.h"

#include <gtest/gtest.h>

namespace kq::test {

class ProgramFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::SetProgramModule(&module_);
    forms::SetFormResourceInitializer(&forms::InitFormFromResources);
  }
  void TearDown() override {
    forms::SetFormResourceInitializer(nullptr);
    forms::SetProgramModule(nullptr);
  }
  win::ModuleResources module_;
};

}  // namespace kq::test
