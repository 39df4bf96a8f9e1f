#pragma once
// Moving or copying figures from the current layer to another (layer split,
// command 32883, and the layer move of equal circles, 33199) and registered
// curves to another layer (33202). The target comes from the layer choice
// dialog (template 172), whose 32 buttons show which layers hold figures.
#include <array>

#include "kelto_dorn/app/color_button.h"
#include "kelto_dorn/drawing/figure_operations.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kLayerSplitDialogId = 172;
// The button of layer 0; layer k is kFirstLayerButton + k.
inline constexpr int kFirstLayerButton = 1100;
// The dialog's end code for layer k.
inline constexpr int kLayerChosenBase = 101;

class CLayerSplitDlg : public platform::Dialog {
 public:
  CLayerSplitDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnDrawItem(int id, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) override;

 private:
  std::array<CColorButton, 32> buttons_;
};

// Runs the layer choice: the layer 0..31, or 0xFFFF for any other end.
int ChooseTargetLayer();

// What a move of figures did.
struct LayerMoveResult {
  int figures = 0;       // figures moved or copied
  int texts = 0;         // texts moved or copied
  int stayed = 0;        // figures left behind: their origin could not be added
  bool textsFull = false;  // the text list was full before every copy was made
};

// Command 32883 (and 33199 under engine code 143) after the selection: the
// target chosen, undo snapshot, the target's view taken over when it shows
// less, the figures in the selection region moved.
void SplitLayer();
// Moves (or, with g_figureOperation.copyOption, copies) the figures of the
// source layer that meet the region, and the texts whose reference point is
// inside it, to the target layer; their origins join the target layer's
// origins. `radius` is the equal-circle radius of engine code 143.
LayerMoveResult MoveFiguresToLayer(int source, int target, double radius, const SelectionRegion& region);
// Command 33202: the selected curves (or the current one) to the chosen
// layer, copied when g_copyMode is set. Returns the layer that was current.
int MoveCurvesToLayer();

}  // namespace dorn
