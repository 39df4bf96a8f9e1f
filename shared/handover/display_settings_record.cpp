#include "shared/handover/display_settings_record.h"

#include "shared/handover/record_io.h"

namespace handover {

namespace {

bool StepsFinite(const DisplaySettingsRecord& r) {
  const double steps[] = {r.rotationStep, r.panStep, r.zoomStep};
  return AllFinite(steps);
}

}  // namespace

platform::FileResult ReadDisplaySettings(const std::filesystem::path& path, DisplaySettingsRecord& record) {
  DisplaySettingsRecord read;
  platform::FileResult result = platform::ReadRecord(path, read);
  if (!result.ok()) return result;
  if (!StepsFinite(read)) return DamagedFile(path, "a step is not a number");
  record = read;
  return result;
}

platform::FileResult WriteDisplaySettings(const std::filesystem::path& path, const DisplaySettingsRecord& record) {
  if (!StepsFinite(record)) return RefusedWrite(path, "a step is not a number");
  return platform::WriteRecord(path, record);
}

}  // namespace handover
