#pragma once
// Whole-file byte buffers of fixed-size records: a sink that appends records
// and a source that hands them out until the bytes run short.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>
#include <vector>

namespace dorn {

class ByteSink {
 public:
  template <typename T>
  void Put(const T& record) {
    static_assert(std::is_trivially_copyable_v<T>);
    const auto* p = reinterpret_cast<const std::uint8_t*>(&record);
    bytes_.insert(bytes_.end(), p, p + sizeof(T));
  }
  void Reserve(std::size_t n) { bytes_.reserve(n); }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

class ByteSource {
 public:
  explicit ByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  // Copies the next record; false (nothing consumed) when fewer bytes are left.
  template <typename T>
  bool Take(T& record) {
    static_assert(std::is_trivially_copyable_v<T>);
    if (Left() < sizeof(T)) return false;
    std::memcpy(&record, bytes_.data() + at_, sizeof(T));
    at_ += sizeof(T);
    return true;
  }
  // The next n bytes as a view; empty when fewer are left.
  std::span<const std::uint8_t> TakeBytes(std::size_t n) {
    if (Left() < n) return {};
    auto s = bytes_.subspan(at_, n);
    at_ += n;
    return s;
  }
  // The first int of the next record without consuming it; false when short.
  bool PeekInt(std::int32_t& value) const {
    if (Left() < sizeof value) return false;
    std::memcpy(&value, bytes_.data() + at_, sizeof value);
    return true;
  }
  std::size_t Left() const { return bytes_.size() - at_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

}  // namespace dorn
