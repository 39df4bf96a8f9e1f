// The element registers: copies between the table and R0 .. R3, the
// keep-tail copies (a register keeps its own second point d6/d7), the 9-level
// register stack, command value unpacking and the register angle helpers.
// Whole-record copies only: the engine calls these many times per element.
#include <cmath>
#include <utility>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {
// Exchanges two records except d6/d7, which stay on each side.
void SwapKeepTail(NcElement& a, NcElement& b) {
  std::swap(a, b);
  std::swap(a.d6, b.d6);
  std::swap(a.d7, b.d7);
}
}  // namespace

void RunContext::LoadR0FromTable() { R0 = elements[ElementIndex]; }
void RunContext::LoadR1FromTable() { R1 = elements[ElementIndex]; }
void RunContext::LoadR2FromTable() { R2 = elements[ElementIndex]; }
void RunContext::StoreR0ToTable() { elements[ElementIndex] = R0; }
void RunContext::StoreR1ToTable() { elements[ElementIndex] = R1; }
void RunContext::StoreR2ToTable() { elements[ElementIndex] = R2; }
void RunContext::ReadTableElement(NcElement& out) { out = elements[ElementIndex]; }

void RunContext::ExchangeR1(NcElement& out, const NcElement& rec) {
  NcElement old = R1;
  R1 = rec;
  out = old;
}

void RunContext::SwapR0R1() { std::swap(R0, R1); }

void RunContext::SetR0KeepTail(const NcElement& rec) { AssignKeepTail(R0, rec); }
void RunContext::SetR1KeepTail(const NcElement& rec) { AssignKeepTail(R1, rec); }
void RunContext::SetR2KeepTail(const NcElement& rec) { AssignKeepTail(R2, rec); }
void RunContext::GetR0KeepTail(NcElement& rec) const { AssignKeepTail(rec, R0); }
void RunContext::GetR1KeepTail(NcElement& rec) const { AssignKeepTail(rec, R1); }
void RunContext::GetR2KeepTail(NcElement& rec) const { AssignKeepTail(rec, R2); }

void RunContext::ExchangeR1KeepTail(NcElement& out, const NcElement& rec) {
  NcElement incoming = rec;  // rec may be out itself
  out = R1;
  out.d6 = incoming.d6;
  out.d7 = incoming.d7;
  AssignKeepTail(R1, incoming);
}

void RunContext::SwapR0R1KeepTail() { SwapKeepTail(R0, R1); }

void RunContext::RestoreAllRegs(const NcElement* block) {
  for (int i = 0; i < 4; ++i) registers.R[static_cast<std::size_t>(i)] = block[i];
}

NcElement* RunContext::SaveAllRegs(NcElement* block) const {
  for (int i = 0; i < 4; ++i) block[i] = registers.R[static_cast<std::size_t>(i)];
  return block;
}

void RunContext::ExchangeAllRegs(NcElement* block) {
  for (int i = 0; i < 4; ++i) std::swap(registers.R[static_cast<std::size_t>(i)], block[i]);
}

int RunContext::PushRegs() {
  // Nine levels: the tenth push is refused and the stack keeps its contents.
  if (registers.RegisterStackDepth >= RegisterState::kStackLevels) {
    return EngineError(kErrorStackOverflow);
  }
  registers.RegisterStack[static_cast<std::size_t>(registers.RegisterStackDepth)] = registers.R;
  ++registers.RegisterStackDepth;
  return 0;
}

int RunContext::PopRegs() {
  if (registers.RegisterStackDepth <= 0) return EngineError(kErrorStackUnderflow);
  --registers.RegisterStackDepth;
  registers.R = registers.RegisterStack[static_cast<std::size_t>(registers.RegisterStackDepth)];
  return 0;
}

std::uint32_t RunContext::UnpackCommandValue(int n) {
  double value = 0.0;
  switch (n) {
    case 1:
      value = R2.d1;
      break;
    case 2:
      value = R2.d2;
      break;
    case 4:
      value = R2.d4;
      break;
    case 5:
      value = R2.d5;
      break;
    case 6:
      value = R2.d6;
      break;
    default:
      return 0;  // values 0, 3 and 7 up carry no pair
  }
  const FixedPointPair pair = SplitFixedPoint(value);
  switch (n) {
    case 1:
      registers.CommandValue1Pair = pair;
      break;
    case 2:
      registers.CommandValue2Pair = pair;
      break;
    case 4:
      engine.RangeStart = static_cast<int>(pair.whole);
      engine.RangeEnd = static_cast<int>(pair.millionths);
      break;
    case 5:
      engine.RangeStep = static_cast<int>(pair.whole);
      engine.RangeStepFraction = static_cast<int>(pair.millionths);
      break;
    case 6:
      registers.CommandValue6Pair = pair;
      break;
  }
  registers.UnpackedPair = pair;
  return pair.whole;
}

void RunContext::UpdateRotationCosSin() {
  const auto [c, s] = DegToCosSin(registers.WorkAngle);
  WorkVectorX() = c;
  WorkVectorY() = s;
}

void RunContext::RegToPolar() {
  const double x = R0.d4;
  const double y = R0.d5;
  const double length = std::sqrt(x * x + y * y);
  double angle = 0.0;
  // A vector of at most 1e-7 mm has no direction: angle 0.
  if (length > 1e-7) {
    angle = std::atan2(y, x) * kDegreesPerRadian;
    if (angle < 0.0) angle += 360.0;
    if (angle >= 360.0) angle -= 360.0;  // a tiny negative angle rounds up to 360
  }
  R0.d4 = length;
  R0.d5 = angle;
}

void RunContext::NormalizeWorkVector() {
  const double x = WorkVectorX();
  const double y = WorkVectorY();
  registers.WorkLength = std::sqrt(x * x + y * y);
  if (registers.WorkLength == 0.0) {
    WorkVectorX() = 1.0;
    WorkVectorY() = 0.0;
  } else {
    WorkVectorX() = x / registers.WorkLength;
    WorkVectorY() = y / registers.WorkLength;
  }
}

}  // namespace qup
