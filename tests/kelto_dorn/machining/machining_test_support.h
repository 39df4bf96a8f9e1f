#pragma once
// A program folder, a headless window system, a clean kernel and machining
// state, and the document's ATC table and definition slots, for the machining
// definition tests.
#include <memory>
#include <string>
#include <vector>

#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "tests/support/test_support.h"

namespace platform::headless {
class HeadlessBackend;
}

namespace dorn::testing {

// The texts of the message boxes shown since the test's SetUp (UTF-8).
std::vector<std::string> ErrorBoxes();

class MachiningTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  platform::headless::HeadlessBackend* backend_ = nullptr;
  std::unique_ptr<DocAtcTable> atc_;
  std::unique_ptr<DefinitionSlots> slots_;
};

}  // namespace dorn::testing
