#include "shared/handover/pit_in_map_record.h"

#include <string>

#include "shared/handover/record_io.h"

namespace handover {

namespace {

// Empty when the item can be used, else what is wrong with it.
std::string CheckItem(const PitInMapRecord& item, std::size_t index) {
  if (item.kind < 0 || item.kind > PitInMapRecord::kContourFinish) {
    return "pit-in item " + std::to_string(index) + " has the unknown kind " + std::to_string(item.kind);
  }
  if (!AllFinite(item.depths)) {
    return "pit-in item " + std::to_string(index) + " holds a depth that is not a number";
  }
  return {};
}

// The items before the first of kind 0.
std::size_t UsedItems(std::span<const PitInMapRecord> items) {
  std::size_t n = 0;
  while (n < items.size() && items[n].kind != PitInMapRecord::kEndOfTable) ++n;
  return n;
}

}  // namespace

platform::FileResult ReadPitInMap(const std::filesystem::path& path, std::vector<PitInMapRecord>& items) {
  std::vector<PitInMapRecord> read;
  platform::FileResult result = ReadRecordVector(path, kMaxPitInItemsRead, read);
  if (!result.ok()) return result;
  read.resize(UsedItems(read));
  for (std::size_t i = 0; i < read.size(); ++i) {
    if (std::string fault = CheckItem(read[i], i); !fault.empty()) return DamagedFile(path, fault);
  }
  items.swap(read);
  return result;
}

platform::FileResult PreparePitInMap(const std::filesystem::path& path, std::span<const PitInMapRecord> items,
                                     platform::FileWrite& file) {
  const std::size_t used = UsedItems(items);
  if (used > kMaxPitInItems) {
    return RefusedWrite(path, std::to_string(used) + " pit-in items are more than " + std::to_string(kMaxPitInItems));
  }
  for (std::size_t i = 0; i < used; ++i) {
    if (std::string fault = CheckItem(items[i], i); !fault.empty()) return RefusedWrite(path, fault);
  }
  file = {path, items.data(), used * sizeof(PitInMapRecord)};
  return {};
}

platform::FileResult WritePitInMap(const std::filesystem::path& path, std::span<const PitInMapRecord> items) {
  platform::FileWrite file;
  if (platform::FileResult r = PreparePitInMap(path, items, file); !r.ok()) return r;
  return platform::WriteFileAtomic(file.path, file.data, file.size);
}

}  // namespace handover
