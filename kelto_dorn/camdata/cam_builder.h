#pragma once
// CCamDataBuilder: turns the machining definitions of the open drawing, in
// machining order, into the four hand-over files of the companion program:
// the element stream "$DORN_DAT.@@@", the tool map "$P_MAP.@@@", the code
// lines "$DORN_CDE.@@@" and the pit-in map "$oikomi_map.@@@".
//
// One builder serves one request: the caller creates it, runs CreateCamData
// and deletes it. The stream is built in memory; the files are written under
// temporary names and renamed together only when the whole build succeeded,
// so a failed build never leaves a mixed or partial hand-over and the caller
// starts nothing.
//
// Phases of a build (cam_builder.cpp): the figure data and surface records
// (figure_data.cpp, surface_records.cpp); BuildAll, the walk over the order
// items with the process framing and program numbers (element_writers.cpp);
// per item the generator of its MachiningKind (hole_generators.cpp,
// contour_writers.cpp, contour_generators.cpp); the pit-in section
// (pit_in_section.cpp); the files (handover_output.cpp).
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "kelto_dorn/app/definition_index_record.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/machining/finish_pass_settings.h"
#include "kelto_dorn/machining/machining_definition.h"
#include "kelto_dorn/surfaces/surface_definition.h"
#include "shared/handover/code_line_record.h"
#include "shared/handover/nc_element.h"
#include "shared/handover/pit_in_map_record.h"
#include "shared/handover/tool_map_record.h"

namespace dorn {

class DefinitionSlots;
class DocAtcTable;
struct FigureRecord;
struct CurveRecord;

// The outcome of CreateCamData.
struct CamBuildResult {
  bool written = false;              // all four files are the new hand-over
  std::string failure;               // CP932: why nothing was written
  std::vector<std::string> skipped;  // CP932: what was left out, one line each
  int elements = 0;
  int toolMapRecords = 0;
  int codeLines = 0;
  int pitInItems = 0;
};

// An ATC number renumbering of the machining order (the ATC ranking):
// while in force, step 0's ATC number is replaced by the new number of the
// first pair whose old number it is.
struct AtcRenumbering {
  static constexpr int kPairCount = 768;
  bool inForce = false;
  std::array<std::int32_t, kPairCount> oldNumber{};
  std::array<std::int32_t, kPairCount> newNumber{};
};
extern AtcRenumbering g_atcRenumbering;

class CCamDataBuilder {
 public:
  // The definition slots, the ATC table (its blank tool record) and the
  // surface slots are the document's; the finishing-pass settings the
  // application's copy.
  CCamDataBuilder(DefinitionSlots& definitions, DocAtcTable& atc,
                  std::array<SurfaceDefinition, kSurfaceSlotCount>& surfaces, const FinishPassSettings& finishPass);
  virtual ~CCamDataBuilder();
  CCamDataBuilder(const CCamDataBuilder&) = delete;
  CCamDataBuilder& operator=(const CCamDataBuilder&) = delete;

  // Writes all hand-over files into the program folder. pitInClassification
  // is 1 from the NC data creation dialog, 0 from the check dialog and the
  // Execute menu. The working definition, step, surface and figure are the
  // same afterwards as before.
  CamBuildResult CreateCamData(int pitInClassification);

  // The stream and map of the last build, as written (for the tests).
  const std::vector<handover::NcElement>& Elements() const { return elements_; }
  const std::vector<handover::ToolMapRecord>& ToolMap() const { return toolMap_; }
  const handover::CodeLineTable& CodeLines() const { return codeLines_; }
  int CodeLineCount() const { return codeLineCount_; }
  const std::vector<handover::PitInMapRecord>& PitInMap() const { return pitInMap_; }

  // Element writers shared by the generators.
  void WriteCamRecord();
  void ClearCamRecord();
  void BeginProcess(int step, int counter);
  void WriteToolData(int argument);
  void WriteToolRecord(int step);
  void WriteProgramNumber(int counter);
  void WriteProcessEnd();
  void WriteMacroResetLine();

 private:
  // --- the build ---------------------------------------------------------
  void BuildAll(int pitInClassification);
  void ResetBuildState();
  bool EnsureOrderItems();
  const OrderItem* NextOrderItem(int& tablePosition);
  void LoadItemDefinition(const OrderItem& item);
  void MakeOneStepDefinition(const MachiningDefinition& stored, const OrderItem& item);
  void StartDefinition(const OrderItem& item);
  void RunGenerator(int pitInClassification, const OrderItem& item);
  void CloseBuild();
  void Fail(const std::string& why);
  void Skip(const std::string& what);
  std::string DefinitionName() const;

  // A definition's output is kept only when it is whole: a value that is
  // not finite rolls it back.
  struct Checkpoint;
  Checkpoint TakeCheckpoint() const;
  void RollBack(const Checkpoint& c);

  // --- figure data and surfaces (figure_data.cpp, surface_records.cpp) ----
  void WriteFigureData();
  void WriteWorkOutline();
  void WriteCurveFigures();
  void WriteCurveFigure(int figureIndex, std::int32_t number);
  void WriteGeometryRecord(bool withStart = true);
  void WritePointRecord(double x, double y, double dx, double dy, std::int32_t number, std::int32_t flags = 0);
  void WriteSurfaceRecords();
  void WriteSurface(const SurfaceDefinition& s);
  void WriteRollSurface(const SurfaceDefinition& s);
  void WriteSectionSurface(const SurfaceDefinition& s, std::int32_t mainCode, std::int32_t sectionCode);
  void WriteGlSurface(const SurfaceDefinition& s);
  void WriteXySurface(const SurfaceDefinition& s, bool ribs);
  void WriteSpaceOrScaleSurface(const SurfaceDefinition& s, bool scale);
  void WriteBlSurface(const SurfaceDefinition& s, bool ribs);
  void WriteRefSurface(const SurfaceDefinition& s);
  void WriteFilletSurface(const SurfaceDefinition& s);
  void WriteWireSurface(const SurfaceDefinition& s);
  void WriteBaseZRecords(const SurfaceDefinition& s);
  void WriteZSource(const SurfaceDefinition& s);
  void WriteRibPairs(const SurfaceDefinition& s, std::int32_t number);
  void WriteStyleDirection(const SurfaceDefinition& s);

  // --- process framing (element_writers.cpp) -----------------------------
  bool ProcessChanged(int step);
  void ForceProcessChange(bool afterHole);
  handover::ToolMapRecord MakeToolMapRecord(int step) const;
  void WriteProcessStartRecord(int step, bool hole);
  void WriteProgramLine(const std::string& text, std::int32_t number);
  void WriteFigureReferences();
  std::string ProgramNumberText(int number) const;
  std::string CommentText(const char* format, int number) const;

  // --- generators (hole_generators.cpp, contour_*.cpp) -------------------
  void GenerateHole(int counter);
  void GenerateHelicalOrDeepHole(int counter, std::int32_t cycleCode);
  void GenerateHoleStep(int step, int counter, std::int32_t cycleCode);
  bool WriteHoleProcessChange(int step, int counter, std::int32_t cycleCode);
  void WriteHoleProcessStart(int step);
  void WriteHoleCutIn(int step, bool processChanged);
  void WriteHoleCycle(int step, std::int32_t cycleCode, const CurveRecord& curve);
  void WriteHelicalCycle(int step, const CurveRecord& curve);
  void WriteHelixRecord(int step);
  void WriteHoleSubprogramMark(int step, int itemIndex, bool last);
  const CurveRecord* FindItemCurve(const CurveListItem& item);
  void GenerateContour(int counter);
  void GenerateCharacter(int counter);
  void GenerateModel(int counter);
  void GenerateWire(int counter);
  void GenerateScrew(int counter);
  void GenerateContourStep(int step, int counter, bool character);
  void PrepareTwoAndHalfAxis(int step);
  void WriteTaperGroup(const CurveListItem& item);
  void WritePointGroup(const CurveRecord& curve);
  void WriteCharacterGeometry(const CurveRecord& curve);
  void WriteContourItem(int step, const CurveListItem& item, bool last);
  void WriteProcessParameters();
  void WriteConditionBlocks();
  void WriteCheckSurfaces();
  bool WriteCutIn(int step);
  bool PutWayKind(int kind, bool escape, double distance, double first, double second, int step);
  void WriteApproach(int step);
  void WriteCompensation(int step, std::int32_t switchedOnFlag, std::int32_t otherFlag);
  void WriteJoint(int step, bool cutInSuppressed);
  void WriteContourCommand(int step, const CurveListItem& item, std::int32_t extraFlags);
  void WriteOverrun(int step, bool beforeSecondPass);
  bool WriteEscape(int step);
  void WriteItemEnd(int argument);
  bool JointTest(int step) const;
  bool IsReversed(int step) const;
  int ItemIncrement(int itemIndex) const { return itemIndex == 0 ? 1 : 10; }

  // --- pit-in section (pit_in_section.cpp) -------------------------------
  void ClassifyPitIn(const OrderItem& item);
  void OpenFinishHoleHead();
  void CloseHeads();
  void WritePitInSection();
  void WriteBottomPasses();
  void WriteContourFinishPasses();
  void PutPitInItemBack(int itemIndex);
  void EndPitInItem();
  void RecordPassInMap(int itemIndex, int pass, double depth);

  // --- files (handover_output.cpp) ---------------------------------------
  bool WriteHandoverFiles(CamBuildResult& result);
  // The stream's storage that one builder leaves to the next.
  static std::vector<handover::NcElement>& SpareStream();

  DefinitionSlots& definitions_;
  DocAtcTable& atc_;
  std::array<SurfaceDefinition, kSurfaceSlotCount>& surfaces_;
  const FinishPassSettings& finishPass_;

  // The output of the build.
  handover::NcElement work_{};
  std::vector<handover::NcElement> elements_;
  std::vector<handover::ToolMapRecord> toolMap_;
  handover::CodeLineTable codeLines_{};
  int codeLineCount_ = 0;
  std::vector<handover::PitInMapRecord> pitInMap_;
  std::string failure_;
  std::vector<std::string> skipped_;
  bool definitionFault_ = false;  // a value of the current definition was not finite

  // The state of the walk that a rolled-back definition restores.
  struct BuildState {
    // Numbering.
    std::int32_t currentNumber = 0;
    std::int32_t endNumber = 0;
    std::int32_t previousEndNumber = 0;
    int definitionCounter = 0;
    // Process change: the previous process's post, flags, ATC number and
    // cutting floats, forced to differ where the rules ask for a new process.
    std::int32_t prevPostNumber = -7;
    std::int32_t prevFlags = -1;
    std::int32_t prevAtc = -7891;
    double prevCut40 = -789.1;
    double prevCut44 = -789.1;
    std::int32_t prevKind = 0;
    std::int32_t curKind = 0;
    bool toolWritten = false;  // a process has begun in this build
    bool anyDefinition = false;
    // The previous hole definition's cut-in values.
    double prevHoleIPoint = 0.0;
    std::int32_t prevHoleReturn = -1;
    std::int32_t prevHoleHCode = -1;
    // The walk.
    bool listMode = false;
    int listPosition = 0;
    std::int16_t curMark = 0;
    std::int16_t curM00 = 0;
    bool escaped = false;
    bool screwWritten = false;
    double firstJointKey = 0.0;  // the first joint reference value of the definition
    // Pit-in state: 1 ordinary stream, 2 pit-in section, 9 inside a pass.
    int pitInState = 1;
    std::array<int, 4> passCounters{1, 1, 1, 1};
    int contourHeadsOpen = 0;
    bool finishHoleHeadOpen = false;
    bool figureReferencesOff = false;
    int pitInCount = 0;
    int currentPass = -1;  // the pit-in pass (0..3) being generated, -1 none
    int step = 0;          // the step being generated
    int increment = 0;     // the number step of the current figure item's commands
  };
  BuildState s_;
  OrderItem currentItem_{};
  std::unordered_map<std::int32_t, int> itemOfId_;  // order id -> its first item

  struct PitInItem {
    std::int32_t kind = 0;
    OrderItem item{};
    MachiningDefinition definition{};
    handover::PitInMapRecord map{};
  };
  static constexpr int kPitInItems = 108;
  std::unique_ptr<PitInItem[]> pitInItems_;  // made with the first item kept
};

}  // namespace dorn
