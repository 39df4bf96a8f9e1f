#pragma once
// The frame every definition dialog shares: the "[ n/m ]" title, the
// definition name, the row of step tabs with the step page (the step's tool
// taken from the machine's ATC list, its feeds, depths and stocks), the step
// operations (add, delete, colour, reset) and the condition buttons
// (approach, escape, compensation, chamfer, corner feed), each check-marked
// while its condition is set. The kinds' own dialogs extend it with their
// conditions; until a kind has its own, the flow opens this frame for it.
//
// End codes: 1 store, 2 cancel, 321 and 345 store and move to the previous
// or next stored definition.
#include <string>

#include "kelto_dorn/app/color_button.h"
#include "kelto_dorn/machining/definition_flow.h"
#include "kelto_dorn/machining/dialogs/numeric_fields.h"
#include "platform/dialog.h"

namespace dorn {

class DocAtcTable;

namespace frame_ctl {
inline constexpr int kName = 1801;
inline constexpr int kTabs = 1802;
inline constexpr int kToolLine = 1803;
inline constexpr int kAtcNumber = 1804;
inline constexpr int kSpindle = 1805;
inline constexpr int kCornerRadius = 1806;
inline constexpr int kFlatRadius = 1807;
inline constexpr int kFeed = 1808;
inline constexpr int kToolDown = 1809;
inline constexpr int kDownFeed = 1810;
inline constexpr int kMoveZ = 1811;
inline constexpr int kContourStock = 1812;
inline constexpr int kBottomStock = 1813;
inline constexpr int kReferenceZ = 1814;
inline constexpr int kChooseTool = 1820;
inline constexpr int kToolDetail = 1821;
inline constexpr int kAddStep = 1822;
inline constexpr int kDeleteStep = 1823;
inline constexpr int kColour = 1824;
inline constexpr int kReset = 1825;
inline constexpr int kApproach = 1830;
inline constexpr int kEscape = 1831;
inline constexpr int kCompensation = 1832;
inline constexpr int kChamfer = 1833;
inline constexpr int kCornerFeed = 1834;
inline constexpr int kBottom = 1835;
inline constexpr int kCentre = 1836;
inline constexpr int kOverrun = 1837;
inline constexpr int kAreaCut = 1838;
inline constexpr int kRepeat = 1839;
inline constexpr int kStore = 1840;
inline constexpr int kCancel = 1841;
inline constexpr int kPrevious = 1842;
inline constexpr int kNext = 1843;
}  // namespace frame_ctl

// The one-shot timer that reopens, after a pick, the sub-dialog that asked.
inline constexpr int kResumeTimerId = 1;
inline constexpr int kResumeDelayMs = 400;

// The template of a runner's dialog (the contour's 299, the hole's 309 ...).
int DefinitionTemplateOf(DefinitionRunner runner);

class CDefinitionFrameDlg : public platform::Dialog {
 public:
  CDefinitionFrameDlg(DefinitionRunner runner, DocAtcTable& atc);
  ~CDefinitionFrameDlg() override = default;

  DefinitionRunner Runner() const { return runner_; }

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnSelectionChanged(int id) override;
  void OnTimer(int timerId) override;
  void OnOk() override;
  void OnCancel() override;
  void OnDrawItem(int id, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) override;
  platform::DialogColors Colors() override;

  // A kind's own dialog: the frame's controls followed by the kind's, with
  // the kind's menu.
  CDefinitionFrameDlg(DefinitionRunner runner, DocAtcTable& atc, std::vector<platform::ControlSpec> kindControls,
                      std::vector<platform::MenuItem> menu);

  // After a pick, the sub-dialog that belongs to the resume code; the kinds
  // that ask for picks from sub-dialogs override it.
  virtual void ResumeSubDialog(int resumeCode) { (void)resumeCode; }

  // Commits the field that holds typed text; from a button (the focus then
  // stays) or from Enter (the focus moves on).
  void CommitFocusedField(bool fromButton);
  void BuildStepTabs(bool rebuild);
  // Shows the current step; a kind's dialog adds its own controls.
  virtual void RefreshPage();
  void ChooseStepTool();
  // The numeric fields; a kind's dialog adds its own.
  NumericFieldSet& Fields() { return fields_; }

  DocAtcTable& atc_;

 private:
  void RunCondition(int button, platform::Dialog& dialog);
  void RunChamfer();
  void ToggleBottom();
  void ChooseColour();
  void End(int code);

  DefinitionRunner runner_;
  NumericFieldSet fields_;
  bool nameFocused_ = false;
  CColorButton colourButton_;
};

// Opens the frame for a runner modally and returns its end code.
int OpenDefinitionFrame(DefinitionRunner runner, DocAtcTable& atc);

}  // namespace dorn
