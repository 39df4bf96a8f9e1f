#pragma once
// Hand-made record images for the layout tests: values are put byte by byte,
// little-endian, at the offsets the layouts document, independent of the
// structs under test.
#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

namespace handover_test {

class ByteBuffer {
 public:
  explicit ByteBuffer(std::size_t size) : bytes_(size, 0) {}

  ByteBuffer& U8(std::size_t offset, std::uint8_t v) {
    bytes_.at(offset) = v;
    return *this;
  }
  ByteBuffer& I16(std::size_t offset, std::int16_t v) { return Le(offset, static_cast<std::uint16_t>(v), 2); }
  ByteBuffer& I32(std::size_t offset, std::int32_t v) { return Le(offset, static_cast<std::uint32_t>(v), 4); }
  ByteBuffer& F32(std::size_t offset, float v) { return Le(offset, std::bit_cast<std::uint32_t>(v), 4); }
  ByteBuffer& F64(std::size_t offset, double v) { return Le(offset, std::bit_cast<std::uint64_t>(v), 8); }
  ByteBuffer& Text(std::size_t offset, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) bytes_.at(offset + i) = static_cast<std::uint8_t>(text[i]);
    return *this;
  }
  // Appends another image (several records in one file).
  ByteBuffer& Append(const ByteBuffer& other) {
    bytes_.insert(bytes_.end(), other.bytes_.begin(), other.bytes_.end());
    return *this;
  }

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }

 private:
  ByteBuffer& Le(std::size_t offset, std::uint64_t v, int width) {
    for (int i = 0; i < width; ++i) bytes_.at(offset + i) = static_cast<std::uint8_t>(v >> (8 * i));
    return *this;
  }

  std::vector<std::uint8_t> bytes_;
};

// A fixture file of tests/fixtures/handover.
inline std::filesystem::path Fixture(std::string_view name) {
  return std::filesystem::path(HANDOVER_FIXTURE_DIR) / name;
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace handover_test
