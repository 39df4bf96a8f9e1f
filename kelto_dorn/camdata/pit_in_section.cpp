// Finishing passes ("追込み"): plane contours whose names mark a bottom or
// contour finish are kept as pit-in items while the ordinary stream is
// written, and generated again at its end, once per selected program group
// (O1000 .. O4000), with the pass depth taken off. The map of the items and
// their program numbers goes to "$oikomi_map.@@@". Also the finish-hole
// head of hole definitions named for a hole finish.
#include <algorithm>
#include <string>
#include <string_view>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/camdata/cam_builder.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"

namespace dorn {

namespace {

namespace code = handover::element_code;

constexpr int kPasses = 4;
// Program-number bases of the four pass groups.
constexpr int kPassBase[kPasses] = {1000, 2000, 3000, 4000};
// Forces the next process of a finish-hole run to begin anew.
constexpr double kFinishHoleForced = -12.99;

// True when `pattern` starts at a character boundary of `name` after its
// first character (names are CP932; a trail byte never starts a match).
bool ContainsAfterFirstCharacter(std::string_view name, std::string_view pattern) {
  std::size_t i = 0;
  bool first = true;
  while (i < name.size()) {
    if (!first && name.compare(i, pattern.size(), pattern) == 0) return true;
    first = false;
    i += platform::IsCp932LeadByte(static_cast<unsigned char>(name[i])) && i + 1 < name.size() ? 2 : 1;
  }
  return false;
}

}  // namespace

void CCamDataBuilder::ClassifyPitIn(const OrderItem& item) {
  const std::string name = platform::FieldText(item.name);
  std::int32_t kind = 0;
  if (ContainsAfterFirstCharacter(name, platform::Sjis(".底_"))) {
    kind = item.step == 1 ? handover::PitInMapRecord::kBottomFinish : 0;
  } else if (ContainsAfterFirstCharacter(name, platform::Sjis(".輪郭仕上げ_")) && item.step == 0) {
    kind = handover::PitInMapRecord::kContourFinish;
  }
  if (kind == 0) {
    CloseHeads();
    return;
  }
  if (s_.pitInCount >= kPitInItems) return;  // further items stay in the ordinary stream only
  // The item buffers (1.7 MB) are made for the first item a build keeps.
  if (!pitInItems_) pitInItems_.reset(new PitInItem[kPitInItems]());
  PitInItem& stored = pitInItems_[static_cast<std::size_t>(s_.pitInCount++)];
  stored.kind = kind;
  stored.item = item;
  stored.definition = g_curMachiningDef;
  stored.map = handover::PitInMapRecord{};
  stored.map.kind = kind;
  stored.map.toolMapNumber = static_cast<std::int32_t>(toolMap_.size()) + 1;
  if (kind == handover::PitInMapRecord::kContourFinish) {
    work_.number = s_.currentNumber + 1;
    work_.code = code::kContourFinishHead;
    work_.d5 = finishPass_.extZ;
    WriteCamRecord();
    ++s_.contourHeadsOpen;
  }
}

void CCamDataBuilder::CloseHeads() {
  if (s_.contourHeadsOpen == 0) return;
  WriteMacroResetLine();
  s_.contourHeadsOpen = 0;
}

void CCamDataBuilder::OpenFinishHoleHead() {
  const bool finish =
      ContainsAfterFirstCharacter(platform::FieldText(currentItem_.name), platform::Sjis("穴加工仕上げ"));
  if (!finish) {
    s_.finishHoleHeadOpen = false;
    return;
  }
  if (s_.finishHoleHeadOpen) return;
  work_.number = s_.currentNumber + 1;
  work_.code = code::kFinishHoleHead;
  WriteCamRecord();
  s_.prevCut40 = s_.prevCut44 = kFinishHoleForced;
  s_.finishHoleHeadOpen = true;
}

void CCamDataBuilder::WritePitInSection() {
  s_.pitInState = 2;
  s_.currentNumber = handover::kEndOfMachiningNumber;
  work_.number = handover::kPitInSectionNumber;
  work_.code = code::kPitInSectionStart;
  WriteCamRecord();
  WriteBottomPasses();
  WriteContourFinishPasses();
  s_.pitInState = 2;
  s_.currentPass = -1;
  pitInMap_.clear();
  for (int i = 0; i < s_.pitInCount; ++i) pitInMap_.push_back(pitInItems_[static_cast<std::size_t>(i)].map);
}

void CCamDataBuilder::PutPitInItemBack(int itemIndex) {
  const PitInItem& stored = pitInItems_[static_cast<std::size_t>(itemIndex)];
  g_curMachiningDef = stored.definition;
  currentItem_ = stored.item;
  s_.curMark = stored.item.mark;
  s_.curM00 = stored.item.m00;
  const std::int32_t start = stored.definition.number + 300 + 256 * stored.item.step;
  s_.currentNumber = std::max(start, s_.previousEndNumber);
  s_.prevKind = s_.curKind;
  s_.curKind = stored.definition.kind;
}

// The end of a pit-in item: its process end and the item-end record.
void CCamDataBuilder::EndPitInItem() {
  work_.number = s_.endNumber;
  work_.code = code::kProcessEnd;
  WriteCamRecord();
  work_.number = s_.endNumber + 1;
  work_.code = code::kPitInItemEnd;
  WriteCamRecord();
}

void CCamDataBuilder::RecordPassInMap(int itemIndex, int pass, double depth) {
  handover::PitInMapRecord& map = pitInItems_[static_cast<std::size_t>(itemIndex)].map;
  map.sectionNumbers[pass] =
      s_.passCounters[static_cast<std::size_t>(pass)] + g_drawingHeader.programNumber + kPassBase[pass];
  map.depths[pass] = depth;
}

void CCamDataBuilder::WriteBottomPasses() {
  std::array<bool, kPasses> used{};
  for (int p = 0; p < kPasses; ++p) {
    if ((finishPass_.flags & FinishPassSettings::BottomBit(p)) == 0) continue;
    s_.prevAtc = BuildState{}.prevAtc;  // no tool yet in this pass
    s_.pitInState = 9;
    s_.currentPass = p;
    const double depth = finishPass_.bottom[p];
    bool first = true;
    int recordedCounter = -1;
    for (int i = 0; i < s_.pitInCount; ++i) {
      if (pitInItems_[static_cast<std::size_t>(i)].kind != handover::PitInMapRecord::kBottomFinish) continue;
      if (first) {
        work_.number = s_.currentNumber + 1;
        work_.code = code::kPitInItemStart;
        WriteCamRecord();
        s_.figureReferencesOff = true;
      }
      PutPitInItemBack(i);
      g_curMachiningDef.steps[0].bottomZStock -= depth;
      const int counter = s_.passCounters[static_cast<std::size_t>(p)];
      GenerateContour(counter + kPassBase[p]);
      if (first || s_.passCounters[static_cast<std::size_t>(p)] != recordedCounter) {
        RecordPassInMap(i, p, depth);
        recordedCounter = s_.passCounters[static_cast<std::size_t>(p)];
      }
      s_.endNumber = s_.currentNumber + 100;
      s_.previousEndNumber = s_.endNumber;
      first = false;
      used[static_cast<std::size_t>(p)] = true;
    }
    if (!first) EndPitInItem();
  }
  for (int p = 0; p < kPasses; ++p) {
    if (used[static_cast<std::size_t>(p)]) ++s_.passCounters[static_cast<std::size_t>(p)];
  }
}

void CCamDataBuilder::WriteContourFinishPasses() {
  for (int i = 0; i < s_.pitInCount; ++i) {
    if (pitInItems_[static_cast<std::size_t>(i)].kind != handover::PitInMapRecord::kContourFinish) continue;
    for (int p = 0; p < kPasses; ++p) {
      if ((finishPass_.flags & FinishPassSettings::ContourBit(p)) == 0) continue;
      s_.prevAtc = BuildState{}.prevAtc;  // no tool yet in this pass
      s_.pitInState = 9;
      s_.currentPass = p;
      s_.figureReferencesOff = true;
      PutPitInItemBack(i);
      work_.number = s_.currentNumber + 1;
      work_.code = code::kPitInItemStart;
      work_.d5 = finishPass_.extZ;
      WriteCamRecord();
      const double depth = finishPass_.contour[p];
      g_curMachiningDef.steps[0].contourStock -= depth;
      RecordPassInMap(i, p, depth);
      GenerateContour(s_.passCounters[static_cast<std::size_t>(p)] + kPassBase[p]);
      s_.endNumber = s_.currentNumber + 100;
      s_.previousEndNumber = s_.endNumber;
      EndPitInItem();
      ++s_.passCounters[static_cast<std::size_t>(p)];
    }
  }
}

}  // namespace dorn
