// The build and the walk over the machining order: see cam_builder.h.
#include "kelto_dorn/camdata/cam_builder.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "platform/application.h"
#include "platform/text.h"

namespace dorn {

AtcRenumbering g_atcRenumbering;

namespace {

using handover::NcElement;
namespace code = handover::element_code;

constexpr std::int32_t kKind(MachiningKind k) { return static_cast<std::int32_t>(k); }

bool IsWireKind(std::int32_t kind) {
  return kind == kKind(MachiningKind::FourAxisWire) || kind == kKind(MachiningKind::TwoAxisWire);
}

// Errors of the helical and deep hole definitions (ShowErrorCode).
constexpr int kErrorHelixAngle = 118;
constexpr int kErrorHelixDiameter = 119;
constexpr int kErrorPeckDepth = 120;

// Numbering of a definition: step index x 256 + definition number + 300.
constexpr std::int32_t kStepNumberSpan = 256;
constexpr std::int32_t kDefinitionNumberOffset = 300;
// A definition's end number lies this far past its last number.
constexpr std::int32_t kEndNumberGap = 100;

// The output kind of the NC dialogs that the builder keeps in 1..4.
constexpr std::int32_t kFirstOutputKind = 1;
constexpr std::int32_t kLastOutputKind = 4;

}  // namespace

struct CCamDataBuilder::Checkpoint {
  BuildState state;
  std::size_t elements = 0;
  std::size_t toolMap = 0;
  int codeLines = 0;
  std::vector<handover::PitInMapRecord> pitInMap;
};

CCamDataBuilder::CCamDataBuilder(DefinitionSlots& definitions, DocAtcTable& atc,
                                 std::array<SurfaceDefinition, kSurfaceSlotCount>& surfaces,
                                 const FinishPassSettings& finishPass)
    : definitions_(definitions), atc_(atc), surfaces_(surfaces), finishPass_(finishPass) {
  // The stream never holds more than the companion's table: room for all of
  // it up front keeps the records from being copied as the stream grows.
  // The room of the previous build is taken over, so that its pages need not
  // be made again for every request.
  elements_.swap(SpareStream());
  elements_.clear();
  elements_.reserve(handover::kMaxElements);
}

CCamDataBuilder::~CCamDataBuilder() {
  elements_.clear();
  if (SpareStream().capacity() < elements_.capacity()) SpareStream().swap(elements_);
}

std::vector<handover::NcElement>& CCamDataBuilder::SpareStream() {
  static std::vector<handover::NcElement> spare;
  return spare;
}

CamBuildResult CCamDataBuilder::CreateCamData(int pitInClassification) {
  platform::WaitCursor wait;
  // What the build borrows and gives back.
  const MachiningDefinition savedDefinition = g_curMachiningDef;
  const SurfaceDefinition savedSurface = g_curSurface;
  const FigureRecord savedFigure = g_curFigure;

  elements_.clear();
  toolMap_.clear();
  toolMap_.reserve(handover::kMaxToolMapRecords);
  pitInMap_.clear();
  codeLines_ = handover::CodeLineTable{};
  codeLineCount_ = 0;
  failure_.clear();
  skipped_.clear();
  s_ = BuildState{};
  ClearCamRecord();

  // A drawing without curves still gets the frame of a stream, so that the
  // companion never reads an older hand-over.
  WriteFigureData();
  WriteSurfaceRecords();
  if (g_machiningCount > 0) {
    BuildAll(pitInClassification);
  } else {
    CloseBuild();
  }

  g_curMachiningDef = savedDefinition;
  g_curSurface = savedSurface;
  g_curFigure = savedFigure;

  CamBuildResult result;
  result.skipped = skipped_;
  if (failure_.empty()) WriteHandoverFiles(result);
  result.failure = failure_;
  result.elements = static_cast<int>(elements_.size());
  result.toolMapRecords = static_cast<int>(toolMap_.size());
  result.codeLines = codeLineCount_;
  result.pitInItems = static_cast<int>(pitInMap_.size());
  return result;
}

void CCamDataBuilder::ResetBuildState() {
  s_ = BuildState{};
  std::int32_t& outputKind = g_drawingHeader.ncSetting324;
  if (outputKind < kFirstOutputKind || outputKind > kLastOutputKind) outputKind = kFirstOutputKind;
}

bool CCamDataBuilder::EnsureOrderItems() {
  if (MachiningOrderValid == kMachiningOrderUpToDate && OrderItemCount() > 0) return true;
  const OrderBuildResult built = BuildOrderItems(definitions_, atc_);
  if (built.leftOut > 0) {
    Skip(platform::Sjis("加工順の項目が1023を超えました: ") + std::to_string(built.leftOut) +
         platform::Sjis(" 工程を除きました (") + built.leftOutName + ")");
  }
  MachiningOrderValid = kMachiningOrderUpToDate;
  return built.items > 0;
}

const OrderItem* CCamDataBuilder::NextOrderItem(int& tablePosition) {
  if (!s_.listMode) {
    if (tablePosition >= kOrderItemCount) return nullptr;
    const OrderItem& item = g_orderItems[static_cast<std::size_t>(tablePosition++)];
    return item.number == kOrderItemEnd ? nullptr : &item;
  }
  while (s_.listPosition < kMaxOrderIds) {
    const std::int32_t id = g_machiningOrderList[static_cast<std::size_t>(s_.listPosition)];
    if (id == 0) return nullptr;
    const auto found = itemOfId_.find(id);
    if (found != itemOfId_.end()) return &g_orderItems[static_cast<std::size_t>(found->second)];
    ++s_.listPosition;  // an id that no item has is passed over
  }
  return nullptr;
}

void CCamDataBuilder::BuildAll(int pitInClassification) {
  ResetBuildState();
  EnsureOrderItems();
  s_.listMode = g_machiningOrderCount != 0;
  // The first item of each id, for the walk over the order list.
  itemOfId_.clear();
  const int items = OrderItemCount();
  for (int n = 0; n < items; ++n) itemOfId_.emplace(g_orderItems[static_cast<std::size_t>(n)].id, n);
  int tablePosition = 0;
  while (failure_.empty()) {
    const OrderItem* next = NextOrderItem(tablePosition);
    if (next == nullptr) break;
    currentItem_ = *next;
    const Checkpoint checkpoint = TakeCheckpoint();
    definitionFault_ = false;
    if (currentItem_.slot < 0 || currentItem_.slot >= g_machiningCount ||
        definitions_.Slot(currentItem_.slot).number != currentItem_.key) {
      Skip(platform::Sjis("加工順の項目が加工定義と合いません: ") + platform::FieldText(currentItem_.name));
      if (s_.listMode) ++s_.listPosition;
      continue;
    }
    LoadItemDefinition(currentItem_);
    StartDefinition(currentItem_);
    RunGenerator(pitInClassification, currentItem_);
    if (definitionFault_) {
      RollBack(checkpoint);
      if (s_.listMode) ++s_.listPosition;
      Skip(platform::Sjis("数値でない値を含む加工定義を除きました: ") + DefinitionName());
      continue;
    }
    ++s_.definitionCounter;
    s_.previousEndNumber = s_.endNumber;
    s_.anyDefinition = true;
  }
  CloseBuild();
}

void CCamDataBuilder::LoadItemDefinition(const OrderItem& item) {
  // BuildAll checked the slot against the machining count.
  const MachiningDefinition& stored = definitions_.Slot(item.slot);
  if (s_.listMode && !IsWireKind(stored.kind)) {
    MakeOneStepDefinition(stored, item);
  } else {
    GetMachiningDefinition(definitions_, item.slot, atc_);
  }
  s_.curMark = item.mark;
  s_.curM00 = item.m00;
  ClearCamRecord();
}

// The working definition as `stored` with only the item's step: its
// condition and tool become step 0 and every other step is cleared. The step
// tables are written here whole, so of them only the two gaps that a cleared
// step keeps are taken over; everything else is copied as stored.
void CCamDataBuilder::MakeOneStepDefinition(const MachiningDefinition& stored, const OrderItem& item) {
  MachiningDefinition& d = g_curMachiningDef;
  constexpr std::size_t kStepsBegin = offsetof(MachiningDefinition, steps);
  constexpr std::size_t kStepsEnd = offsetof(MachiningDefinition, processName);
  static_assert(offsetof(MachiningDefinition, stepTools) == kStepsBegin + sizeof d.steps &&
                kStepsEnd == offsetof(MachiningDefinition, stepTools) + sizeof d.stepTools);
  std::memcpy(&d, &stored, kStepsBegin);
  std::memcpy(reinterpret_cast<std::uint8_t*>(&d) + kStepsEnd, reinterpret_cast<const std::uint8_t*>(&stored) + kStepsEnd,
              sizeof(MachiningDefinition) - kStepsEnd);
  for (int i = 0; i < kStepCount; ++i) {
    std::memcpy(d.steps[i].reserved36, stored.steps[i].reserved36, sizeof d.steps[i].reserved36);
    std::memcpy(d.steps[i].reserved164, stored.steps[i].reserved164, sizeof d.steps[i].reserved164);
  }
  const int step = item.step >= 0 && item.step < kStepCount ? item.step : 0;
  const StepCondition& condition = stored.steps[step];
  const AtcRecord& tool = stored.stepTools[step];
  AtcRecord blank = atc_.Record(DocAtcTable::kBlankToolSlot);
  blank.inUse = 0;  // the other steps stay empty whatever the blank record holds
  blank.atcNumber = 0;
  for (int i = 0; i < kStepCount; ++i) {
    ClearStepCondition(i);
    g_curMachiningDef.stepTools[i] = blank;
  }
  g_curMachiningDef.steps[0] = condition;
  g_curMachiningDef.stepTools[0] = tool;
  if (!g_atcRenumbering.inForce) return;
  std::int32_t& atc = g_curMachiningDef.stepTools[0].atcNumber;
  for (int i = 0; i < AtcRenumbering::kPairCount; ++i) {
    if (g_atcRenumbering.oldNumber[static_cast<std::size_t>(i)] == atc) {
      atc = g_atcRenumbering.newNumber[static_cast<std::size_t>(i)];
      break;
    }
  }
}

void CCamDataBuilder::StartDefinition(const OrderItem& item) {
  if (s_.listMode) ++s_.listPosition;
  const std::int32_t start = item.step * kStepNumberSpan + g_curMachiningDef.number + kDefinitionNumberOffset;
  s_.currentNumber = s_.previousEndNumber > start ? s_.previousEndNumber : start;
  work_.number = s_.currentNumber;
  work_.code = code::kDefinitionStart;
  work_.flags = g_curMachiningDef.generalB;
  WriteCamRecord();
  s_.escaped = false;
  s_.firstJointKey = 0.0;
  s_.prevKind = s_.curKind;
  s_.curKind = g_curMachiningDef.kind;
  if (s_.contourHeadsOpen > 0 && s_.curKind != kKind(MachiningKind::PlaneContour)) CloseHeads();
}

void CCamDataBuilder::RunGenerator(int pitInClassification, const OrderItem& item) {
  const MachiningDefinition& d = g_curMachiningDef;
  const int counter = s_.definitionCounter;
  switch (static_cast<MachiningKind>(d.kind)) {
    case MachiningKind::CharacterContour:
      GenerateCharacter(counter);
      break;
    case MachiningKind::PlaneContour:
      if (pitInClassification != 0) ClassifyPitIn(item);
      GenerateContour(counter);
      if (s_.contourHeadsOpen > 0) WriteMacroResetLine();
      break;
    case MachiningKind::Hole:
      if (pitInClassification != 0) OpenFinishHoleHead();
      GenerateHole(counter);
      break;
    case MachiningKind::HelicalHole:
      if (d.stepTools[0].pCode == 0.0f) {
        ShowErrorCode(kErrorHelixAngle);
      } else if (d.steps[0].chamferSize == 0.0) {
        ShowErrorCode(kErrorHelixDiameter);
      } else {
        GenerateHelicalOrDeepHole(counter, 0x6B00);
      }
      break;
    case MachiningKind::DeepHole:
      if (d.stepTools[0].pCode == 0.0f || d.stepTools[0].peckDepth == 0.0f) {
        ShowErrorCode(kErrorPeckDepth);
      } else {
        GenerateHelicalOrDeepHole(counter, 0x6C00);
      }
      break;
    case MachiningKind::FourAxisWire:
    case MachiningKind::TwoAxisWire:
      GenerateWire(counter);
      break;
    case MachiningKind::TwoAndHalfAxis:
    case MachiningKind::Taper:
    case MachiningKind::ThreeAxisSurface:
      GenerateContour(counter);
      break;
    case MachiningKind::Model:
    case MachiningKind::Fillet:
      GenerateModel(counter);
      break;
    case MachiningKind::AAxisScrew:
      GenerateScrew(counter);
      break;
    default:
      break;
  }
  s_.endNumber = s_.currentNumber + kEndNumberGap;
}

void CCamDataBuilder::CloseBuild() {
  if (!failure_.empty()) return;
  CloseHeads();
  if (s_.anyDefinition && !IsWireKind(s_.curKind)) {
    work_.number = s_.endNumber;
    work_.code = code::kProcessEnd;
    WriteCamRecord();
  }
  work_.number = handover::kEndOfMachiningNumber;
  work_.code = code::kEndOfMachining;
  if (s_.pitInCount > 0) work_.flags = 128;
  WriteCamRecord();
  if (s_.pitInCount > 0) WritePitInSection();
  if (definitionFault_) {
    // A finishing pass came out with a value that is not a number; its
    // programs cannot be left out of the section on their own.
    Fail(platform::Sjis("追込み加工に数値でない値があります。ＮＣデータは作成されません"));
    return;
  }
  work_.number = handover::kEndOfStreamNumber;
  work_.code = code::kEndOfStream;
  WriteCamRecord();
}

void CCamDataBuilder::Fail(const std::string& why) {
  if (failure_.empty()) failure_ = why;
}

void CCamDataBuilder::Skip(const std::string& what) { skipped_.push_back(what); }

std::string CCamDataBuilder::DefinitionName() const {
  for (int i = 0; i < g_machiningCount && i < kMachiningSlotCount; ++i) {
    const DefinitionIndexRecord& r = g_machiningIndexTable.records[static_cast<std::size_t>(i)];
    if (r.key == g_curMachiningDef.number) return platform::FieldText(r.name);
  }
  return std::to_string(g_curMachiningDef.number);
}

CCamDataBuilder::Checkpoint CCamDataBuilder::TakeCheckpoint() const {
  return Checkpoint{s_, elements_.size(), toolMap_.size(), codeLineCount_, pitInMap_};
}

void CCamDataBuilder::RollBack(const Checkpoint& c) {
  s_ = c.state;
  elements_.resize(c.elements);
  toolMap_.resize(c.toolMap);
  for (int i = c.codeLines; i < codeLineCount_; ++i) codeLines_[static_cast<std::size_t>(i)] = {};
  codeLineCount_ = c.codeLines;
  pitInMap_ = c.pitInMap;
  definitionFault_ = false;
  ClearCamRecord();
}

}  // namespace dorn
