#include "tests/kelto_dorn/dialogs/dialogs_fixture.h"

#include <memory>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "platform/text.h"
#include "tests/support/shown_texts.h"

namespace dorn::test {

namespace {
void ResetState() {
  ResetAppState();
  ResetViewState();
  ResetCommandState();
  ResetPromptState();
  ResetSurfaceState();
  ResetDocumentState();
}
}  // namespace

void DialogsTest::SetUp() {
  ResetState();
  auto backend = std::make_unique<platform::headless::HeadlessBackend>();
  backend_ = backend.get();
  platform::InstallBackend(std::move(backend));
  SetDefaultPalette(0);
  RebuildPenTable();
}

void DialogsTest::TearDown() {
  EXPECT_TRUE(backend_->Problems().empty()) << backend_->Problems().front();
  ResetState();
  platform::UninstallBackend();
  backend_ = nullptr;
}

std::vector<std::string> DialogsTest::ShownTexts() const { return testsupport::ShownMessageTexts(*backend_); }

OpenDialog::OpenDialog(platform::Dialog& dialog) : dialog_(dialog), driver_(dialog) {
  EXPECT_TRUE(dialog.CreateModeless());
}

OpenDialog::~OpenDialog() {
  if (dialog_.IsOpen()) dialog_.DestroyWindow();
}

}  // namespace dorn::test
