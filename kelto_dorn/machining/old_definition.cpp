#include "kelto_dorn/machining/old_definition.h"

#include <cstring>
#include <memory>

#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"

namespace dorn {
namespace {

// Names and tool names of a record read from a file end inside their fields.
void TerminateTexts(MachiningDefinition& d) {
  platform::TerminateField(d.processName);
  platform::TerminateField(d.machineName);
  for (AtcRecord& tool : d.stepTools) {
    platform::TerminateField(tool.secName);
    platform::TerminateField(tool.toolName);
  }
}

}  // namespace

void ConvertOldMachiningDefinition(const MachiningDefinitionV1& old, MachiningDefinition& d) {
  std::memcpy(&d, old.head, kOldHeadBytes);
  std::memcpy(d.curves, old.curves, sizeof old.curves);
  std::memcpy(d.steps, old.steps, sizeof old.steps);
  std::memcpy(d.stepTools, old.stepTools, sizeof old.stepTools);
  platform::SetFieldText(d.processName, platform::FieldText(old.processName));
  platform::SetFieldText(d.machineName, platform::FieldText(old.machineName));
  std::memcpy(d.general16068, old.general13956, sizeof old.general13956);
  TerminateTexts(d);
}

bool LoadStoredDefinition(std::span<const std::uint8_t> bytes, MachiningDefinition& definition, DocAtcTable& atc) {
  if (bytes.size() == sizeof(MachiningDefinition)) {
    std::memcpy(&definition, bytes.data(), sizeof(MachiningDefinition));
    TerminateTexts(definition);
    return true;
  }
  if (bytes.size() != sizeof(MachiningDefinitionV1)) return false;
  auto old = std::make_unique<MachiningDefinitionV1>();
  std::memcpy(old.get(), bytes.data(), sizeof(MachiningDefinitionV1));
  // The reset works on the working record: keep what it holds meanwhile.
  auto working = std::make_unique<MachiningDefinition>();
  std::memcpy(working.get(), &g_curMachiningDef, sizeof(MachiningDefinition));
  ResetMachiningRecord(atc);
  ConvertOldMachiningDefinition(*old, g_curMachiningDef);
  std::memcpy(&definition, &g_curMachiningDef, sizeof(MachiningDefinition));
  std::memcpy(&g_curMachiningDef, working.get(), sizeof(MachiningDefinition));
  return true;
}

}  // namespace dorn
