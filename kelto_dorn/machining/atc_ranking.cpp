#include "kelto_dorn/machining/atc_ranking.h"

#include <algorithm>
#include <unordered_map>

namespace dorn {

AtcRanking RankAtcNumbers(const std::vector<std::int32_t>& atcNumbers) {
  AtcRanking r;
  r.used = static_cast<int>(std::min<std::size_t>(atcNumbers.size(), AtcRanking::kPairCount));
  std::unordered_map<std::int32_t, std::int32_t> rankOf;
  for (int i = 0; i < r.used; ++i) {
    const std::int32_t atc = atcNumbers[static_cast<std::size_t>(i)];
    r.atcNumber[static_cast<std::size_t>(i)] = atc;
    // An item without a tool is passed over: the tools after it still rank.
    if (atc == 0) continue;
    auto [it, added] = rankOf.try_emplace(atc, static_cast<std::int32_t>(rankOf.size() + 1));
    r.rank[static_cast<std::size_t>(i)] = it->second;
  }
  return r;
}

}  // namespace dorn
