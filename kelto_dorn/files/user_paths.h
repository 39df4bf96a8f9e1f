#pragma once
// Paths the user types or picks, written as the system writes them (CP932,
// backslashes, drive letters), as native paths: a drive letter through its
// mapped folder, "/..." as it stands, anything else under the data root.
#include <filesystem>
#include <optional>
#include <string_view>

namespace dorn {

// Nothing when the path names a drive letter that is not mapped.
std::optional<std::filesystem::path> ResolveUserPath(std::string_view cp932Path);

// True for a typed file name that could leave its folder or name another
// file: it holds "/", "\", ":" or "..", or is empty.
bool IsUnsafeFileName(std::string_view cp932Name);

}  // namespace dorn
