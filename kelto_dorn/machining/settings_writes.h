#pragma once
// Writing the settings files of the definition conditions whole and
// atomically; a write that fails is reported with message 50 naming the
// file, and the values in memory stay as they are.
#include <filesystem>

#include "platform/record_file.h"

namespace dorn {

// Shows message 50 with the file's name.
void ReportWriteFailure(const std::filesystem::path& path);

// Writes the bytes; false (after the message) when the file was not written.
bool WriteSettingsFile(const std::filesystem::path& path, const void* data, std::size_t size);

}  // namespace dorn
