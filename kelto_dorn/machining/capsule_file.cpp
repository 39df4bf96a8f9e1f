#include "kelto_dorn/machining/capsule_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/old_definition.h"
#include "kelto_dorn/machining/settings_writes.h"
#include "kelto_dorn/tooldb/folder_names.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"

namespace dorn {

int g_capsuleLoadCount = 0;

namespace {

constexpr int kTableSize = 512;
constexpr std::int32_t kIndexEnd = 0xFFFF;
constexpr std::size_t kNameBytes = 63;
constexpr std::int32_t kFirstKey = 10000;
constexpr std::int32_t kKeyStep = 1000;
constexpr std::int32_t kKeyLimit = 200000;
constexpr std::int32_t kKeyJump = 100000;
constexpr std::int32_t kEscapeStampOffset = 2;

DefinitionIndexRecord& Index(int i) { return g_machiningIndexTable.records[static_cast<std::size_t>(i)]; }

template <typename Record>
bool ParseCapsule(const std::vector<std::uint8_t>& bytes, std::vector<Record>& definitions,
                  std::vector<DefinitionIndexRecord>& records) {
  std::size_t at = 0;
  while (true) {
    if (at + sizeof(Record) > bytes.size()) return false;
    Record r;
    std::memcpy(&r, bytes.data() + at, sizeof r);
    at += sizeof r;
    std::int32_t kind;
    std::memcpy(&kind, &r, sizeof kind);
    if (kind == 0) break;
    definitions.push_back(r);
  }
  while (true) {
    if (at + sizeof(DefinitionIndexRecord) > bytes.size()) return false;
    DefinitionIndexRecord r;
    std::memcpy(&r, bytes.data() + at, sizeof r);
    at += sizeof r;
    if (r.recordKind == kIndexEnd) break;
    records.push_back(r);
  }
  return records.size() == definitions.size();
}

// Keys 10000, 11000, ...; the first to reach 200000 and every later one
// jump by 100000, the later ones also by 10000.
void RenumberIndexRecords(DefinitionSlots& slots) {
  std::int32_t offset = 0;
  bool jumped = false;
  for (int i = 0; i < g_machiningCount; ++i) {
    std::int32_t key = kFirstKey + kKeyStep * i + offset;
    if (!jumped && key >= kKeyLimit) {
      jumped = true;
      key += kKeyJump;
      offset = 10000;
    } else if (jumped) {
      key += kKeyJump;
    }
    Index(i).key = key;
    MachiningDefinition& d = slots.Slot(Index(i).slot);
    d.number = key;
    for (StepCondition& s : d.steps) {
      for (RepeatBlock& b : s.repeat) {
        if (b.escapeStamp != 0) b.escapeStamp = key + kEscapeStampOffset;
      }
    }
  }
}

}  // namespace

std::filesystem::path CapsuleFilePath(std::string_view nameCp932, bool oldForm) {
  return platform::DataRoot() / "_CPS" / platform::Cp932ToUtf8(nameCp932) /
         (oldForm ? "$Capsule.@@@" : "$Capsule.@@2");
}

bool ExportCapsuleFile(const DefinitionSlots& slots, DocAtcTable& atc, std::string_view nameCp932) {
  if (!IsSafeFolderName(nameCp932)) return false;
  const int n = g_machiningCount;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(static_cast<std::size_t>(n + 1) * (sizeof(MachiningDefinition) + sizeof(DefinitionIndexRecord)));
  auto append = [&bytes](const void* p, std::size_t size) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    bytes.insert(bytes.end(), b, b + size);
  };
  for (int s = 0; s < n; ++s) append(&slots.Slot(s), sizeof(MachiningDefinition));
  const auto working = std::make_unique<MachiningDefinition>(g_curMachiningDef);
  ResetMachiningRecord(atc);
  append(&g_curMachiningDef, sizeof(MachiningDefinition));
  g_curMachiningDef = *working;
  for (int i = 0; i < n; ++i) append(&Index(i), sizeof(DefinitionIndexRecord));
  DefinitionIndexRecord end = Index(n);
  end.recordKind = kIndexEnd;
  append(&end, sizeof end);
  const std::filesystem::path path = CapsuleFilePath(nameCp932);
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  return WriteSettingsFile(path, bytes.data(), bytes.size());
}

std::string LoadedDefinitionName(std::string_view nameCp932, int loadCount) {
  const std::string_view field = nameCp932.substr(0, std::min(nameCp932.find('\0'), nameCp932.size()));
  std::size_t lastUnderscore = std::string_view::npos;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (platform::IsCp932LeadByte(static_cast<unsigned char>(field[i]))) {
      ++i;  // the trail byte may look like "_"
      continue;
    }
    if (field[i] == '_') lastUnderscore = i;
  }
  const std::string base(lastUnderscore == std::string_view::npos ? std::string_view() : field.substr(0, lastUnderscore));
  char suffix[8];
  std::snprintf(suffix, sizeof suffix, "_%02d", loadCount);
  std::string name = base + suffix;
  name.resize(platform::Cp932PrefixLength(name, kNameBytes));
  return name;
}

CapsuleLoad LoadCapsuleFile(DefinitionSlots& slots, DocAtcTable& atc, std::string_view nameCp932) {
  CapsuleLoad load;
  if (!IsSafeFolderName(nameCp932)) {
    load.refused = true;
    return load;
  }
  bool oldForm = false;
  std::vector<std::uint8_t> bytes;
  std::filesystem::path path = CapsuleFilePath(nameCp932);
  platform::FileResult r = platform::ReadWholeFile(path, bytes);
  if (r.missing()) {
    oldForm = true;
    path = CapsuleFilePath(nameCp932, true);
    r = platform::ReadWholeFile(path, bytes);
  }
  if (r.missing()) return load;
  load.found = true;
  std::vector<MachiningDefinition> definitions;
  std::vector<MachiningDefinitionV1> oldDefinitions;
  std::vector<DefinitionIndexRecord> records;
  const bool parsed = r.ok() && (oldForm ? ParseCapsule(bytes, oldDefinitions, records)
                                         : ParseCapsule(bytes, definitions, records));
  if (!parsed) {
    load.damaged = true;
    ReportWriteFailure(path);
    return load;
  }
  g_capsuleLoadCount = (g_capsuleLoadCount & 63) + 1;
  const int total = static_cast<int>(records.size());
  for (int k = 0; k < total; ++k) {
    if (g_machiningCount >= kTableSize) {
      load.full = true;
      ShowErrorCode(kErrorMachiningFull);
      break;
    }
    const int slot = g_machiningCount;
    if (oldForm) {
      ResetMachiningRecord(atc);
      ConvertOldMachiningDefinition(oldDefinitions[static_cast<std::size_t>(k)], g_curMachiningDef);
      slots.Slot(slot) = g_curMachiningDef;
    } else {
      slots.Slot(slot) = definitions[static_cast<std::size_t>(k)];
    }
    DefinitionIndexRecord record = records[static_cast<std::size_t>(k)];
    record.slot = slot;
    const std::string name = LoadedDefinitionName(std::string_view(record.name, sizeof record.name), g_capsuleLoadCount);
    std::memset(record.name, 0, sizeof record.name);
    std::memcpy(record.name, name.data(), name.size());
    Index(slot) = record;
    ++g_machiningCount;
    ++load.appended;
  }
  g_curDefinitionSlot = g_machiningCount;
  RenumberIndexRecords(slots);
  MachiningOrderValid = 0;
  return load;
}

}  // namespace dorn
