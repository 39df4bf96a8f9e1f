#pragma once
// ElementTable: the companion's table of element records of one job. The
// job load fills it from "$DORN_DAT.@@@"; contour routines append working
// elements behind the job's elements and cut the count back afterwards.
// Records are held by value; growing keeps every record and its index.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "shared/handover/nc_element.h"

namespace qup {

using handover::NcElement;

// A broken invariant of the engine (an index outside the table, an impossible
// state): the run cannot go on sensibly. The text names the place.
class EngineInvariantError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

class ElementTable {
 public:
  // The most records the table ever holds.
  static constexpr int kMaxCapacity = 98560;

  // Records allocated (ElementCapacity) and in use (ElementCount).
  int Capacity() const { return static_cast<int>(records_.size()); }
  int ElementCount = 0;

  // Grows to newCapacity zero-filled slots (never shrinks). Returns false when
  // newCapacity exceeds kMaxCapacity; the table is then left as it was.
  bool Grow(int newCapacity);
  // Makes room for growth up to `records` slots (at most kMaxCapacity) in one
  // allocation, so that later Grow calls neither move nor copy the records.
  // The capacity the engine sees does not change.
  void ReserveRoom(int records);
  // Drops every record (capacity 0, count 0).
  void Clear();

  // Checked access: an index outside the allocated slots is an invariant
  // fault of the caller and throws EngineInvariantError naming the index.
  NcElement& operator[](int index) {
    if (index < 0 || index >= Capacity()) ThrowOutOfRange(index);
    return records_[static_cast<std::size_t>(index)];
  }
  const NcElement& operator[](int index) const {
    if (index < 0 || index >= Capacity()) ThrowOutOfRange(index);
    return records_[static_cast<std::size_t>(index)];
  }

 private:
  [[noreturn]] void ThrowOutOfRange(int index) const;
  std::vector<NcElement> records_;
};

}  // namespace qup
