#pragma once
// The automatic-centring records of G54-G57 ("$Cps_Post.@@@", program
// folder): their defaults from the work settings, the values the work
// settings replace at each opening, the corner codes and half offsets, and
// saving them whole.
#include <array>

#include "platform/record_file.h"
#include "shared/handover/auto_centering_record.h"

namespace dorn {

using CentringRecords = std::array<handover::AutoCenteringRecord, handover::kAutoCenteringRecordCount>;

// The origin corner of a work origin position code: 1 -> 3, 2 -> 4, 3 -> 1,
// 4 -> 2, any other -> 1 (lower left).
int CornerOfOriginCode(int code);
// The corner in the second numbering and the half offsets to the work
// centre; a corner outside 1-4 leaves the offsets.
void ApplyCorner(handover::AutoCenteringRecord& r);

// Defaults, the file's records over them (a damaged file leaves the
// defaults; `read` tells), then the work settings again; the post choice of
// G54 held within 0-2.
CentringRecords LoadCentringRecords(platform::FileResult& read);

// Numbers 54-57 and the post choice in every record, then the file written
// whole; false when it was not written.
bool SaveCentringRecords(CentringRecords& records, int post);

}  // namespace dorn
