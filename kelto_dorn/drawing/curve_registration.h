#pragma once
// Registration of a curve: the work list (segment blocks 0..g_workCount-1)
// becomes curve number g_curveCount, with its figures appended to figure
// table 90, after the user named it in the registration dialog. Every
// registration saves the drawing.
#include "kelto_dorn/app/figure_record.h"
#include "platform/device_context.h"

namespace dorn {

// RegisterCurveEntry's and RegisterCurve's results besides the dialog's.
inline constexpr int kCurveRegisteredNew = 0;
inline constexpr int kCurveRegisteredInPlace = 1;  // grow 0: the record written, the count kept
inline constexpr int kCurveTaperRequested = 222;
inline constexpr int kCurveRegistrationRefused = -1;

// Registration modes of RegisterCurve.
inline constexpr int kRegisterPlain = 0;
inline constexpr int kRegisterTaperFigures = 1;
inline constexpr int kRegisterTaper = 8;
inline constexpr int kRegisterAutoConnect = 222;

// Registers the work list as curve g_curveCount: fills the record (layer,
// figure range behind the previous curve, key), gives each figure the turn
// flag of its joint, runs RegisterCurve and on success writes the figures
// (drawn into dc when given) and makes the curve current; with grow the
// curve count grows, without it the result is kCurveRegisteredInPlace.
// Returns kCurveRegistrationRefused for an empty work list or a full curve
// table, 50 when the user asked to pick more, a negative value when
// cancelled (the record is then cleared when growing).
int RegisterCurveEntry(int mode, int grow, platform::DeviceContext* dc);

// Runs the registration dialog for the record at g_curveCount until its key
// and name are unique or the user cancels: 0 registered, 222 registered with
// taper figures asked for, 50 pick more, -1 cancelled.
int RegisterCurve(int mode);

// False when another curve has the key or the name of the record at
// g_curveCount.
bool IsCurveNameUsed();

// While one lives, registrations are taken as a batch of new curves behind
// the existing ones (copies of selected curves): the keys and names in use
// and the largest key are gathered once and kept up to date, instead of the
// curve table being scanned again for each registration. Nothing but the
// batch's registrations may change the curve table meanwhile; should the
// curve count move otherwise, registration falls back to the scans. The
// drawing is saved once when the batch ends (when anything was registered)
// instead of after every registration: saving a big drawing for each copy
// would make a batch quadratic.
class CurveRegistrationBatch {
 public:
  CurveRegistrationBatch();
  ~CurveRegistrationBatch();
  CurveRegistrationBatch(const CurveRegistrationBatch&) = delete;
  CurveRegistrationBatch& operator=(const CurveRegistrationBatch&) = delete;
};

// Writes the work figures into table 90 from the record's first index, each
// in the record's colour and on the current layer (drawn into dc when
// given), sets the record's end, and resets the segment blocks.
void StoreRegisteredFigures(int count, platform::DeviceContext* dc);

// The turn flag (choice word) that `figure` gets at its joint with the
// figure before it: the intersection choice that gives that joint back when
// the two are intersected again. 0 for pairs other than lines and arcs.
int ComputeJoinSide(const FigureRecord& previous, const FigureRecord& figure);

}  // namespace dorn
