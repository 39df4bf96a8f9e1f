#pragma once
// The rectangle contour dialog (template 318, "  四角輪郭") and the regular
// polygon contour dialog (template 319, "  多角形輪郭"). Their values are
// shared and remembered from one use to the next; "登 録" builds the contour
// into the segment blocks (contour_builders.h) and sets g_contourFigureCount.
#include <map>
#include <string>

#include "kelto_dorn/drawing/contour_builders.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kRectContourDialogId = 318;
inline constexpr int kPolygonContourDialogId = 319;
// End codes besides OK (1) and Cancel (2).
inline constexpr int kContourPickByMouse = 40;
inline constexpr int kRectPickIntersection = 6;
inline constexpr int kPolygonPickIntersection = 60;
// Control ids.
inline constexpr int kContourSizeEdit = 1008;
inline constexpr int kContourEdit1029 = 1029;
inline constexpr int kContourEdit1030 = 1030;
inline constexpr int kContourEdit1031 = 1031;
inline constexpr int kContourAngleEdit = 1065;
inline constexpr int kContourCornerEdit = 1066;
inline constexpr int kContourReliefXEdit = 1067;
inline constexpr int kContourReliefYEdit = 1068;
inline constexpr int kContourCornerLabel = 1533;
inline constexpr int kContourRegisterButton = 1020;
inline constexpr int kContourMouseButton = 1002;
inline constexpr int kContourIntersectionButton = 1000;
inline constexpr int kCornerTangentRadio = 1005;
inline constexpr int kCornerReliefRadio = 1011;
inline constexpr int kCornerChamferRadio = 1012;
inline constexpr int kPolygonInscribedRadio = 1158;
inline constexpr int kPolygonCircumscribedRadio = 1159;

// The values both dialogs keep between uses (all 0 at start).
struct ContourDialogValues {
  double size = 0.0;  // rectangle width, polygon size
  double height = 0.0;
  double moveX = 0.0;  // polygon centre X
  double moveY = 0.0;  // polygon centre Y
  double angle = 0.0;
  double corner = 0.0;
  double reliefX = 0.0;
  double reliefY = 0.0;
  int corners = 0;
  int cornerMode = kCornerTangent;
  int position = kRectCentre;
  int sizeStyle = kPolygonInscribed;
};
extern ContourDialogValues g_contourValues;
// The figures the last build left in segment blocks 0..count-1.
extern int g_contourFigureCount;
void ResetContourDialogValues();

// The set-position radio of a position 0..4.
int RectPositionRadio(int position);

// What both contour dialogs do with their edit fields: the field that holds
// the focus is committed (parsed and stored) when another field gains the
// focus, a button is pressed or Enter is typed; the fields are then shown
// again from the kept values.
class CContourDialogBase : public platform::Dialog {
 protected:
  using platform::Dialog::Dialog;

  bool OnInit() override;
  void OnOk() override;

  // Shows the kept values in the fields and buttons.
  virtual void Fill() = 0;
  // Stores the value typed in field `id`.
  virtual void StoreField(int id, double value) = 0;
  void CommitField();
  // Shows a value and remembers the text, so that a field left as shown
  // keeps its full value instead of the four decimals on screen.
  void Show(int id, const std::string& text);
  bool ChangedByUser(int id) const;

  int activeField_ = 0;

 private:
  bool committing_ = false;
  std::map<int, std::string> shown_;
};

class CRectContourDlg : public CContourDialogBase {
 public:
  CRectContourDlg();

 protected:
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void Fill() override;
  void StoreField(int id, double value) override;

 private:
  void Build();
};

class CPolygonContourDlg : public CContourDialogBase {
 public:
  CPolygonContourDlg();

 protected:
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void Fill() override;
  void StoreField(int id, double value) override;

 private:
  void Build();
};

}  // namespace dorn
