// The temporary element array: a contour routine copies an element range out
// of the table, changes the copies and writes them back.
#include <algorithm>
#include <string>

#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {

namespace {

constexpr int kTempCapacity = 12000;
constexpr int kTempReserve = 12;

}  // namespace

int RunContext::AllocTempElements(int a, int b) {
  if (b < a) std::swap(a, b);
  if (b - a + kTempReserve > kTempCapacity) {
    host.ShowErrorBox(platform::Sjis("MEMORY_Over_ERROR... DORN_MAX12000 !"));
    AbortFlag = kStopRun;
    return 1;
  }
  // A range that names no elements would copy records that are not there.
  if (a < 0 || b >= elements.ElementCount) {
    StopWithFault("temporary element range " + std::to_string(a) + ".." + std::to_string(b) + " outside 0.." +
                  std::to_string(elements.ElementCount - 1));
    return 1;
  }
  // The array always holds the whole range with a spare record, whatever a
  // previous range left in it.
  const std::size_t wanted = static_cast<std::size_t>(b - a + 2);
  if (TempElements.size() < wanted) TempElements.resize(wanted);
  for (int i = a; i <= b; ++i) TempElements[static_cast<std::size_t>(i - a)] = elements[i];
  return 0;
}

void RunContext::CopyBackTempElements(int a, int b) {
  const int first = std::max(0, std::min(a, b));
  const int last = std::min(std::max(a, b), elements.ElementCount - 1);
  const int count = std::min(last - first + 1, static_cast<int>(TempElements.size()));
  for (int i = 0; i < count; ++i) elements[first + i] = TempElements[static_cast<std::size_t>(i)];
  TempElements.clear();
  TempElements.shrink_to_fit();
}

}  // namespace qup
