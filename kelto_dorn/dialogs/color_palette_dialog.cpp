// The colour palette dialog: see color_palette_dialog.h.
#include "kelto_dorn/dialogs/color_palette_dialog.h"

#include <string>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/palette.h"
#include "platform/choosers.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace cs = platform::control_style;

constexpr int kEditModeButton = 1469;
constexpr int kStandardPalette1Button = 1470;
constexpr int kStandardPalette2Button = 1471;
constexpr int kFirstRowGroup = 9601;  // four rows of eight swatches
constexpr int kSwatchesPerRow = 8;

// The standard palettes the two buttons load (SetDefaultPalette's argument).
constexpr int kStandardPalette1 = 0;
constexpr int kStandardPalette2 = 2;

// Swatch images: a square of the colour in a grey frame. The frame's grey is
// no palette colour, so mapping the built-in colour leaves it alone.
constexpr int kSwatchSize = 24;
constexpr platform::Color kSwatchFrame = 0x808080;
constexpr platform::Color kChooserStart = 0;

// Control ids of the 32 buttons by palette index, in runs: the index of the
// run's first entry and the id it has.
struct IdRun {
  int firstIndex;
  int lastIndex;
  int firstId;
};
constexpr IdRun kIdRuns[] = {{0, 0, 1160},   {1, 7, 1000},   {8, 16, 1143}, {17, 22, 1007},
                             {23, 27, 1152}, {28, 28, 1013}, {29, 31, 1157}};

std::vector<ControlSpec> DialogControls() {
  std::vector<ControlSpec> c;
  for (int row = 0; row < kPaletteSize / kSwatchesPerRow; ++row) {
    c.emplace_back(ControlKind::GroupBox, kFirstRowGroup + row, "");
    for (int i = row * kSwatchesPerRow; i < (row + 1) * kSwatchesPerRow; ++i)
      c.emplace_back(ControlKind::BitmapButton, PaletteButtonId(i), "", kFirstRowGroup + row, 32, 32);
  }
  c.emplace_back(ControlKind::PushButton, kEditModeButton, Sjis("カラー設定"), 0, 0, 0, cs::kCheckLook);
  c.emplace_back(ControlKind::PushButton, kStandardPalette1Button, Sjis("標準設定[1]"));
  c.emplace_back(ControlKind::PushButton, kStandardPalette2Button, Sjis("標準設定[2]"));
  return c;
}

}  // namespace

int PaletteButtonId(int index) {
  for (const IdRun& run : kIdRuns)
    if (index >= run.firstIndex && index <= run.lastIndex) return run.firstId + index - run.firstIndex;
  return 0;
}

int PaletteIndexOfButton(int id) {
  for (const IdRun& run : kIdRuns) {
    const int index = run.firstIndex + id - run.firstId;
    if (index >= run.firstIndex && index <= run.lastIndex) return index;
  }
  return -1;
}

platform::Bitmap ColourSwatch(int index) {
  const platform::Color builtIn = ColorFromIndex(index);
  platform::Bitmap swatch(kSwatchSize, kSwatchSize, kSwatchFrame);
  swatch.Fill({1, 1, kSwatchSize - 1, kSwatchSize - 1}, builtIn);
  if (index < 0 || index >= kPaletteSize) return swatch;
  return swatch.WithColorReplaced(builtIn, PaletteColors[static_cast<std::size_t>(index)] & platform::kColorMask);
}

CColorPaletteDlg::CColorPaletteDlg()
    : platform::Dialog(kColorPaletteDialogId, Sjis("    カラーパレット"), DialogControls()) {}

bool CColorPaletteDlg::OnInit() {
  FillButtons();
  editMode_ = false;
  SetCheck(kEditModeButton, 0);
  return false;  // no control takes the focus at first
}

void CColorPaletteDlg::FillButtons() {
  for (int i = 0; i < kPaletteSize; ++i) SetImage(PaletteButtonId(i), ColourSwatch(i));
}

void CColorPaletteDlg::OnClick(int id) {
  if (id == kEditModeButton) {
    editMode_ = !editMode_;
    SetCheck(kEditModeButton, editMode_ ? 1 : 0);
    return;
  }
  if (id == kStandardPalette1Button || id == kStandardPalette2Button) {
    SetDefaultPalette(id == kStandardPalette1Button ? kStandardPalette1 : kStandardPalette2);
    FillButtons();
    return;
  }
  const int index = PaletteIndexOfButton(id);
  if (index < 0) return;
  if (!editMode_) {
    Close(index);
    return;
  }
  if (const auto chosen = platform::ChooseColor(kChooserStart)) {
    PaletteColors[static_cast<std::size_t>(index)] = *chosen & platform::kColorMask;
    FillButtons();
  }
  editMode_ = false;
  SetCheck(kEditModeButton, 0);
}

// Enter chooses nothing: it closes as the close box does (a result of 1 would
// read as colour 1, and the pens must follow an edited palette).
void CColorPaletteDlg::OnOk() { Close(kNoColourChosen); }

void CColorPaletteDlg::OnCancel() { Close(kNoColourChosen); }

void CColorPaletteDlg::Close(int result) {
  RebuildPenTable();
  EndDialog(result);
}

}  // namespace dorn
