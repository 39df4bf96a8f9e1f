#include "shared/handover/machining_defaults.h"

#include <cstring>
#include <vector>

#include "shared/handover/record_io.h"

namespace handover {

namespace {

bool ValuesFinite(const MachiningDefaults& d) {
  const double doubles[] = {d.originZ,        d.moveZ,    d.holeIPoint,   d.holeRPoint,   d.holeThroughAmount,
                            d.toolDownAmount, d.downFeed, d.feedCode,     d.wireDivision, d.wireStock,
                            d.toolFeed,       d.arcAngle, d.deepHoleRest, d.chamferFeed};
  const float floats[] = {d.holeTopZ, d.overrun};
  return AllFinite(doubles) && AllFinite(floats);
}

}  // namespace

platform::FileResult ReadMachiningDefaults(const std::filesystem::path& path, MachiningDefaults& defaults) {
  std::vector<std::uint8_t> bytes;
  platform::FileResult result = platform::ReadWholeFile(path, bytes);
  if (result.missing()) {
    defaults = MachiningDefaults{};
    return result;
  }
  if (!result.ok()) return result;
  if (bytes.size() != sizeof(MachiningDefaults) && bytes.size() != kMachiningDefaultsOldSize) {
    result.status = platform::FileStatus::WrongSize;
    result.message = path.string() + ": " + std::to_string(bytes.size()) +
                     " bytes is neither 168 nor the older 128; nothing was taken from it";
    return result;
  }
  MachiningDefaults read;  // built-in values for what an older file lacks
  std::memcpy(&read, bytes.data(), bytes.size());
  if (!ValuesFinite(read)) return DamagedFile(path, "a value is not a number");
  defaults = read;
  return result;
}

platform::FileResult WriteMachiningDefaults(const std::filesystem::path& path, const MachiningDefaults& defaults) {
  if (!ValuesFinite(defaults)) return RefusedWrite(path, "a value is not a number");
  return platform::WriteRecord(path, defaults);
}

}  // namespace handover
