#include "kelto_dorn/machining/repeat_rules.h"

namespace dorn {

CutDirection DirectionOf(const StepCondition& s) {
  if (s.word208 == 1) return CutDirection::ToAndFro;
  if (s.switch8 == 1) return CutDirection::OneWay;
  return CutDirection::Around;
}

void SetDirection(StepCondition& s, CutDirection direction) {
  s.switch8 = direction == CutDirection::OneWay ? 1 : 0;
  s.word208 = direction == CutDirection::ToAndFro ? 1 : 0;
  if (direction == CutDirection::ToAndFro) s.word32 = 0;
}

void ToggleReverseTravel(StepCondition& s) {
  s.word32 = (s.word32 == 0 && DirectionOf(s) != CutDirection::ToAndFro) ? 1 : 0;
}

void FlipZoneDirection(std::int32_t& word) { word = word < 0 ? 1 : -1; }

void ToggleEscapeCorner(RepeatBlock& range1) {
  if ((range1.inUse & kEscapeCornerBit) != 0) {
    range1.inUse &= 0x0FFF;
  } else {
    range1.inUse |= kEscapeCornerBit;
  }
}

void NormaliseRepeatRanges(StepCondition& s) {
  if (s.repeat[0].second == 0.0 && s.word32 == 0) s.repeat[0].inUse = 0;
  if (s.repeat[1].second == 0.0) s.repeat[1].inUse = 0;
}

int OpeningRepeatRange(const StepCondition& s) {
  if (s.repeat[0].second != 0.0) return 0;
  return s.repeat[1].second != 0.0 ? 1 : 0;
}

void ResetRepeatConditions(StepCondition& s, bool machiningDialog) {
  s.repeat[0].inUse = 0;
  s.repeat[0].kind = machiningDialog ? repeat_style::kXY : repeat_style::kOff;
  s.repeat[1].kind = repeat_style::kZ;
  for (RepeatBlock& r : s.repeat) r.first = r.second = r.third = 0.0;
  s.repeat[0].figureKey = 0;
  SetDirection(s, CutDirection::Around);
  s.word152 = 0;
  s.word144 = 1;
  s.word200 = 1;
  s.zone1Key = 0;
  s.zone2Key = 0;
  if (machiningDialog) s.float136 = 0.0f;
}

void MarkRangesForClose(StepCondition& s, bool machiningDialog) {
  s.repeat[0].inUse = machiningDialog ? ((s.repeat[0].inUse & 0xF000) | 1) : 1;
  s.repeat[1].inUse = 1;
  NormaliseRepeatRanges(s);
}

}  // namespace dorn
