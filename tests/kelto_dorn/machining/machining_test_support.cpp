#include "tests/kelto_dorn/machining/machining_test_support.h"

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "platform/headless/headless_backend.h"
#include "platform/text.h"

namespace dorn::testing {

std::vector<std::string> ErrorBoxes() {
  std::vector<std::string> texts;
  if (!platform::HasBackend()) return texts;
  auto& backend = static_cast<platform::headless::HeadlessBackend&>(platform::CurrentBackend());
  for (const platform::headless::ShownMessageBox& box : backend.MessageBoxes()) {
    texts.push_back(platform::Cp932ToUtf8(box.request.text));
  }
  return texts;
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
