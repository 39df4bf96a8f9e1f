#include "kelto_dorn/machining/curve_items.h"

#include "platform/text.h"

namespace dorn {

int CountCurveItems(const MachiningDefinition& d) {
  int n = 0;
  while (n < kCurveItemCount && d.curves[n].key != 0) ++n;
  return n;
}

int RemoveCurveItem(MachiningDefinition& d, int item) {
  const int n = CountCurveItems(d);
  if (item < 0 || item >= n) return item;
  for (int i = item; i + 1 < kCurveItemCount; ++i) d.curves[i] = d.curves[i + 1];
  d.curves[kCurveItemCount - 1] = CurveListItem{};
  return item >= n - 1 ? item - 1 : item;
}

std::string JoinChosenName(std::string_view chosen, std::string_view oldName) {
  const std::size_t underscore = oldName.rfind('_');
  std::string name(chosen);
  name += underscore == std::string_view::npos ? oldName : oldName.substr(underscore);
  name.resize(platform::Cp932PrefixLength(name, 63));
  return name;
}

}  // namespace dorn
