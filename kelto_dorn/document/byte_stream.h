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
  // `count` records that lie one after the other in memory.
  template <typename T>
  void PutMany(const T* records, std::size_t count) {
    static_assert(std::is_trivially_copyable_v<T>);
    const auto* p = reinterpret_cast<const std::uint8_t*>(records);
    bytes_.insert(bytes_.end(), p, p + count * sizeof(T));
  }
  void Reserve(std::size_t n) { bytes_.reserve(n); }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// A file of sections of records read one after the other. Once a record
// runs past the end, the file is cut: the bytes of the torn record are
// dropped with it and every later read comes back empty, so a section never
// takes the tail of the section before it for its own records.
class ByteSource {
 public:
  explicit ByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  // Copies the next record; false when fewer bytes are left (the file is
  // then cut).
  template <typename T>
  bool Take(T& record) {
    static_assert(std::is_trivially_copyable_v<T>);
    const std::span<const std::uint8_t> s = TakeBytes(sizeof(T));
    if (s.empty()) return false;
    std::memcpy(&record, s.data(), sizeof(T));
    return true;
  }
  // The next n bytes as a view; empty when fewer are left (the file is then
  // cut).
  std::span<const std::uint8_t> TakeBytes(std::size_t n) {
    if (Left() < n) {
      Cut();
      return {};
    }
    auto s = bytes_.subspan(at_, n);
    at_ += n;
    return s;
  }
  // The first int of the next record without consuming it; false when
  // fewer bytes are left (the file is not cut by looking).
  bool PeekInt(std::int32_t& value) const {
    if (Left() < sizeof value) return false;
    std::memcpy(&value, bytes_.data() + at_, sizeof value);
    return true;
  }
  std::size_t Left() const { return bytes_.size() - at_; }
  // True once a read ran past the end.
  bool cut() const { return cut_; }

 private:
  void Cut() {
    at_ = bytes_.size();
    cut_ = true;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
  bool cut_ = false;
};

}  // namespace dorn
