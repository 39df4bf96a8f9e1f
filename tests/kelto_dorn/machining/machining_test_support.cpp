#include "tests/kelto_dorn/machining/machining_test_support.h"

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "platform/headless/headless_backend.h"
#include "platform/text.h"
#include "tests/support/shown_texts.h"

namespace dorn::testing {

std::vector<std::string> ErrorBoxes() {
  if (!platform::HasBackend()) return {};
  return testsupport::ShownMessageTexts(static_cast<platform::headless::HeadlessBackend&>(platform::CurrentBackend()));
}

void MachiningTest::SetUp() {
  ProgramFolderTest::SetUp();
  backend_ = &platform::headless::InstallHeadlessBackend();
  ResetAppState();
  ResetMachiningState();
  ResetDbSelection();
  atc_ = std::make_unique<DocAtcTable>();
  slots_ = std::make_unique<DefinitionSlots>();
}

void MachiningTest::TearDown() {
  slots_.reset();
  atc_.reset();
  ResetMachiningState();
  ResetAppState();
  platform::UninstallBackend();
  backend_ = nullptr;
  ProgramFolderTest::TearDown();
}

}  // namespace dorn::testing
