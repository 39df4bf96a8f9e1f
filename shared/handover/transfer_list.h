#pragma once
// The transfer list "$TXD.@@@" (program folder): the NC programs Kelto_Dorn's
// transfer dialog chose, one 256-byte record per file in the order chosen,
// no header, no count. Each record is the full path
// "<data root>\<unit>\<second>\DAT\<file>" as CP932 text with backslashes,
// NUL-terminated and padded with zero bytes.
//
// Written by Kelto_Dorn's NC data transfer dialog (rewritten whole each
// time); read by Kelto_qup's DNC send (start mode 22), which sends each file
// over the serial port or the network drive.
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/record_file.h"

namespace handover {

inline constexpr char kTransferListFileName[] = "$TXD.@@@";
inline constexpr std::size_t kTransferRecordBytes = 256;
// The most files one list names (the dialog's selection limit).
inline constexpr std::size_t kTransferListMax = 510;

// Reads the paths. Missing: status Missing, `paths` empty. A size that is not
// a whole number of records, a record without its terminator or an empty
// record: damaged, `paths` empty.
platform::FileResult ReadTransferList(const std::filesystem::path& path, std::vector<std::string>& paths);

// Writes the list whole (an empty list gives an empty file); a path of 256
// bytes or more, or an empty one, is refused and the old file stays.
platform::FileResult WriteTransferList(const std::filesystem::path& path, const std::vector<std::string>& paths);

}  // namespace handover
