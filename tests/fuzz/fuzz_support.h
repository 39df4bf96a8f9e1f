#pragma once
// What every fuzz target shares: one temporary program folder per process
// (KELTO_HOME, the settings store and the data root all point into it), a
// fresh headless backend per input so recorded boxes never pile up, and the
// split of one input into the several files a reader takes together.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

namespace fuzz {

// The program folder of this process, made on the first call and removed at
// exit.
const std::filesystem::path& ProgramFolder();

// Writes the bytes as a whole file (folders made as needed); an empty span
// removes the file, so "missing" is one of the cases a fuzzer reaches.
void WriteInput(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Installs a fresh headless backend (every message box answered with its
// default) and removes it again when the guard goes.
class HeadlessGuard {
 public:
  HeadlessGuard();
  ~HeadlessGuard();
  HeadlessGuard(const HeadlessGuard&) = delete;
  HeadlessGuard& operator=(const HeadlessGuard&) = delete;
};

// Splits an input into `count` parts at each occurrence of the separator
// "#KELTO-FILE#"; missing parts are empty. Seeds are made by joining real
// files with the separator, so the fuzzer mutates each file in place.
inline constexpr std::string_view kPartSeparator = "#KELTO-FILE#";
std::vector<std::span<const std::uint8_t>> SplitParts(const std::uint8_t* data, std::size_t size, std::size_t count);

}  // namespace fuzz
