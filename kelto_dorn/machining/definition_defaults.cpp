#include "kelto_dorn/machining/definition_defaults.h"

#include "kelto_dorn/machining/machining_state.h"
#include "platform/paths.h"

namespace dorn {
namespace {

std::filesystem::path DefaultsPath() {
  return platform::ResolvePath(platform::ProgramFolder(), handover::kMachiningDefaultsFileName);
}

}  // namespace

platform::FileResult ReadMachiningDefaults() {
  return handover::ReadMachiningDefaults(DefaultsPath(), g_machiningDefaults);
}

platform::FileResult WriteMachiningDefaults() {
  return handover::WriteMachiningDefaults(DefaultsPath(), g_machiningDefaults);
}

}  // namespace dorn
