#pragma once
// The ATC ranking shown before NC data is made: each ATC number used by the
// machining order gets an output rank, distinct numbers numbered 1, 2, 3 ...
// in the order of their first use.
#include <array>
#include <cstdint>
#include <vector>

namespace dorn {

struct AtcRanking {
  static constexpr int kPairCount = 768;
  // Pair i belongs to the i-th ordered item; ATC number 0 (a wire, or a step
  // without a number) contributes no tool and keeps rank 0.
  std::array<std::int32_t, kPairCount> atcNumber{};
  std::array<std::int32_t, kPairCount> rank{};
  int used = 0;  // pairs filled
};

// Ranks the ATC numbers of the ordered items (one per item, 0 for none);
// items beyond the 768 pairs are left out.
AtcRanking RankAtcNumbers(const std::vector<std::int32_t>& atcNumbers);

}  // namespace dorn
