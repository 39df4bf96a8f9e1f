// The numbered save slots of the motion and the frame that the current
// motion fills. Every slot copy keeps the destination's d6/d7 (a line's start
// point, an arc's centre stays with its record on each side). The snapshot
// taken before each element moves the current motion records into their
// previous-state records and re-transforms the frame being filled.
#include <utility>

#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr int kMotionOptionBits = 0xFF00;


int SlotPosition(SaveSlot slot) {
  switch (slot) {
    case SaveSlot::Slot52:
      return 0;
    case SaveSlot::Slot53:
      return 1;
    case SaveSlot::Slot61:
      return 2;
    case SaveSlot::Slot65:
      return 3;
    case SaveSlot::Slot160:
      return 4;
    case SaveSlot::Slot175:
      return 5;
    case SaveSlot::Slot224:
      return 6;
    case SaveSlot::Slot225:
      return 7;
    case SaveSlot::Slot227:
      return 8;
    case SaveSlot::Slot420:
      return 9;
    case SaveSlot::Slot421:
      return 10;
    case SaveSlot::Slot424:
      return 11;
    case SaveSlot::Slot427:
      return 12;
    case SaveSlot::Slot437:
      return 13;
    case SaveSlot::Slot472:
      return 14;
    case SaveSlot::Slot542:
      return 15;
    case SaveSlot::Slot551:
      return 16;
    case SaveSlot::Slot726:
      return 17;
  }
  throw EngineInvariantError("save slot outside the slot table");
}

bool IsSwapSlot(SaveSlot slot) {
  switch (slot) {
    case SaveSlot::Slot65:
    case SaveSlot::Slot224:
    case SaveSlot::Slot225:
    case SaveSlot::Slot227:
      return false;
    default:
      return true;
  }
}

}  // namespace

NcElement& RunContext::Slot(SaveSlot slot) { return core.SlotRecords[static_cast<std::size_t>(SlotPosition(slot))]; }

NcElement& RunContext::CurrentFrameRecord() {
  switch (core.CurrentFrame) {
    case FrameRef::Slot52:
      return Slot(SaveSlot::Slot52);
    case FrameRef::Slot53:
      return Slot(SaveSlot::Slot53);
    case FrameRef::Slot225:
      return Slot(SaveSlot::Slot225);
    case FrameRef::FilletFrameB:
      return core.FilletFrameB;
    case FrameRef::Slot227:
      return Slot(SaveSlot::Slot227);
    case FrameRef::R0:
      return R0;
    case FrameRef::ArcPassFrame:
      return core.ArcPassFrame;
    case FrameRef::Slot726:
      return Slot(SaveSlot::Slot726);
    case FrameRef::SectionCommand:
      return engine.stepping.SectionCommand;
    case FrameRef::BaseLineFrame:
      return engine.stepping.SecondBaseLineFrame;
    case FrameRef::BaseLineCommand:
      return engine.stepping.SecondBaseLineCommand;
    case FrameRef::None:
      break;
  }
  throw EngineInvariantError("CurrentFrame names no frame record");
}

void RunContext::SwapR1WithSlot(SaveSlot slot) {
  if (!IsSwapSlot(slot)) return;
  NcElement& record = Slot(slot);
  std::swap(R1, record);
  std::swap(R1.d6, record.d6);
  std::swap(R1.d7, record.d7);
}

void RunContext::LoadR0FromSlot(SaveSlot slot) {
  if (slot == SaveSlot::Slot224 || slot == SaveSlot::Slot225) AssignKeepTail(R0, Slot(slot));
}

void RunContext::LoadR1FromSlot(SaveSlot slot) {
  switch (slot) {
    case SaveSlot::Slot52:
    case SaveSlot::Slot53:
    case SaveSlot::Slot61:
    case SaveSlot::Slot65:
    case SaveSlot::Slot227:
      AssignKeepTail(R1, Slot(slot));
      break;
    default:
      break;
  }
}

void RunContext::StoreR0ToSlot(SaveSlot slot) {
  if (slot == SaveSlot::Slot224) AssignKeepTail(Slot(slot), R0);
}

void RunContext::StoreR2ToSlot(SaveSlot slot) {
  if (slot == SaveSlot::Slot225 || slot == SaveSlot::Slot227) AssignKeepTail(Slot(slot), R2);
}

void RunContext::SetCurrentFrame() { core.CurrentFrame = FrameRef::Slot225; }
void RunContext::SetCurrentFrameB() { core.CurrentFrame = FrameRef::FilletFrameB; }
void RunContext::SetCurrentFrameC() { core.CurrentFrame = FrameRef::Slot227; }
void RunContext::SetCurrentFrameR0() { core.CurrentFrame = FrameRef::R0; }
void RunContext::SetCurrentFrameArc() { core.CurrentFrame = FrameRef::ArcPassFrame; }

void RunContext::ExchangeR1WithArcFrame() { std::swap(R1, core.ArcPassFrame); }

int RunContext::SnapshotElements() {
  // 1. The current motion records become the previous state.
  core.PreviousFrames[0] = Slot(SaveSlot::Slot551);
  Slot(SaveSlot::Slot542) = core.Slot551Companion;
  core.PreviousFrames[1] = core.MotionRecords[0];
  core.PreviousFrames[2] = core.MotionRecords[1];
  // The motion's options: its own option word with the option bits of the
  // pending command word, which a surface pass (0x800, 0x2800 with its
  // offset pass) or a screw move (0xED00) sets before it takes the
  // snapshot. The pending word's low byte names the queued move kind that
  // runs next and is no option.
  core.SnapshotFlags = core.MotionOptions | (output.PendingCommandWord & kMotionOptionBits);
  core.SnapshotCounter = SnapshotCounterNext;

  if (core.TransformKey == 0) return 0;

  if (core.TransformMode != 2) {
    // 3. Bring the motion frame being filled back out of the transform.
    const SaveSlot frame = core.FrameToggle != 0 ? SaveSlot::Slot53 : SaveSlot::Slot52;
    SwapR1WithSlot(frame);
    R0.d6 = R0.d4;
    R0.d7 = R0.d5;
    // The frame's extra direction (d0, d1) turns like a direction; its own
    // direction waits in I, J of the tool normal meanwhile.
    core.ToolNormal[0] = R1.d2;
    core.ToolNormal[1] = R1.d3;
    R1.d2 = R1.d0;
    R1.d3 = R1.d1;
    RotateR1Element();
    R1.d0 = R1.d2;
    R1.d1 = R1.d3;
    R1.d2 = core.ToolNormal[0];
    R1.d3 = core.ToolNormal[1];
    SwapR1WithSlot(frame);
    ApplyOffsetToRegs();
    if (AbortFlag != 0) return kStopRun;
    R1.d4 = R0.d6;
    R1.d5 = R0.d7;
    RotateR1Element();
    ApplyOffsetToRegs();
    if (AbortFlag != 0) return kStopRun;
    R0.d6 = R0.d4;
    R0.d7 = R0.d5;
  }

  // 4.-6. The next element's transform takes over for the element in slot 420.
  core.SavedTransformKey = core.TransformKey;
  core.TransformKey = NextTransformKey;
  SwapR1WithSlot(SaveSlot::Slot420);
  if (core.TransformKey != 0) {
    const int sideFlags = Slot(SaveSlot::Slot421).flags;
    if (core.SideToggleOption != 0) {
      R1.flags ^= sideFlags;
    } else {
      R1.flags |= sideFlags;
    }
    core.TransformRunning = 0xFFFF;
    RotateTangents();
    core.TransformRunning = 0;
  }
  AssignKeepTail(Slot(SaveSlot::Slot421), R1);
  NextTransformKey = core.SavedTransformKey;
  SwapR1WithSlot(SaveSlot::Slot420);
  core.TransformKey = 0;
  return 0;
}

}  // namespace qup
