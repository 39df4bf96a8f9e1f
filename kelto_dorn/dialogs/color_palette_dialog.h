#pragma once
// The colour palette (template 196, "    カラーパレット"): the 32 palette
// colours as image buttons. A click chooses that index; in edit mode
// ("カラー設定") a click changes the colour instead; "標準設定[1]" and
// "標準設定[2]" load a standard palette. Whichever way it closes, the 32 pens
// are rebuilt from the palette as it then stands.
#include "platform/bitmap.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kColorPaletteDialogId = 196;
// DoModal's result when the palette closed without a choice.
inline constexpr int kNoColourChosen = -1;

// The control id of palette index 0-31 in the palette dialog (0 otherwise).
int PaletteButtonId(int index);
// The index of a palette button id, or -1.
int PaletteIndexOfButton(int id);

// The swatch image of palette index i: a square of its current palette
// colour framed in grey (the built-in colour of i mapped to PaletteColors[i]).
platform::Bitmap ColourSwatch(int index);

class CColorPaletteDlg : public platform::Dialog {
 public:
  CColorPaletteDlg();

  bool EditMode() const { return editMode_; }

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnOk() override;
  void OnCancel() override;

 private:
  void FillButtons();
  void Close(int result);
  bool editMode_ = false;
};

}  // namespace dorn
