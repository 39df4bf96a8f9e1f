#pragma once
// The machining order dialog (IDD 353, "  加工順の設定"): one line per
// process step of the drawing's definitions; the user numbers, moves and
// sorts them, marks steps for an M00 stop or with a star, switches the hole
// subprogram output, and opens the NC data creation dialog, which builds the
// CAM data in this order. Cancel (or Esc) closes with 2; Enter does nothing.
#include <string>
#include <vector>

#include "kelto_dorn/camdata/cam_services.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kMachiningOrderDialogId = 353;

namespace machining_order {
inline constexpr int kList = 1800;
inline constexpr int kFirstRowButton = 1810;  // 24 of them
inline constexpr int kRowButtons = 24;
inline constexpr int kScroll = 1840;
inline constexpr int kReset = 1850, kClearOrder = 1851, kSort = 1852, kM00 = 1853, kMark = 1854, kHoleSub = 1855;
inline constexpr int kAtc = 1856, kRegister = 1857, kComment = 1858, kCancel = 1859;
inline constexpr int kMenuFinishPass = 33209, kMenuM00Settings = 33217;
// More selected lines than this are refused with a beep.
inline constexpr int kMaxSelection = 512;
}  // namespace machining_order

class CMachiningOrderM00Dlg : public platform::Dialog {
 public:
  explicit CMachiningOrderM00Dlg(const CamServices& services);

  bool MarkMode() const { return markMode_; }
  bool M00Mode() const { return m00Mode_; }
  const std::vector<int>& Selection() const { return selection_; }
  int TopRow() const { return topRow_; }
  platform::Color ButtonColour(int buttonId) const;

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnDoubleClick(int id) override;
  void OnScroll(int id) override;
  void OnCommand(int commandId) override;
  void OnDrawItem(int id, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) override;
  void OnOk() override {}

 private:
  void FillOrderList();
  void RebuildItems();
  void CollectSelection();
  void SetTopRow(int row);
  void ToggleM00Mode();
  void OpenCreation();

  CamServices services_;
  std::vector<int> m00Tools_;
  std::vector<int> selection_;  // item indexes in selection order
  int topRow_ = 0;
  bool markMode_ = false;
  bool m00Mode_ = false;
};

}  // namespace dorn
