#include "tests/kelto_dorn/app/kernel_fixture.h"

#include <memory>

#include "kelto_dorn/app/app_state.h"

namespace dorn::test {

void KernelTest::SetUp() {
  ResetAppState();
  auto backend = std::make_unique<platform::headless::HeadlessBackend>();
  backend_ = backend.get();
  platform::InstallBackend(std::move(backend));
  ASSERT_TRUE(g_figureStore.Start());
}

void KernelTest::TearDown() {
  ResetAppState();
  platform::UninstallBackend();
  backend_ = nullptr;
}

std::vector<std::string> KernelTest::ShownTexts() const {
  std::vector<std::string> texts;
  for (const auto& box : backend_->MessageBoxes()) texts.push_back(box.request.text);
  return texts;
}

}  // namespace dorn::test
