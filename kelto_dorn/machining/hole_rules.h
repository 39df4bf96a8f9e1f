#pragma once
// The rules of the hole definitions that need no window: the step rules the
// hole dialog applies on every refresh (through flag, blade length, chamfer),
// the step rows' select / insert / delete, filling the steps from a hole
// process, marking the picked hole curves with the machining kind and the
// tool radius, and the helical hole's relations between slope angle, helix
// diameter and cut per revolution.
#include <cstdint>
#include <optional>

#include "kelto_dorn/machining/machining_definition.h"
#include "shared/handover/machining_defaults.h"

namespace dorn {

class DocAtcTable;
struct HoleProcessRecord;

// The hole dialogs show and edit steps 0..7.
inline constexpr int kHoleStepRows = 8;
// The type word of a curve that is a group of hole circles.
inline constexpr std::int32_t kCurveKindHoleGroup = 1;

// A step row holds a tool while its diameter is non-zero.
bool HoleStepHasTool(const MachiningDefinition& d, int step);

// The refresh rules of steps 0..7: every step takes step 0's through flag;
// a depth the blade cannot reach is lifted to surface Z - blade length
// (unless the depth is fixed; a blade length of 0 sets no limit); a 90-degree
// tool plunges or goes round the hole by the chamfer detail. The hole
// diameter of a step 0 chamfer is `selectedHoleDiameter` (the selected
// curve's hole diameter; absent when the curve is gone).
void ApplyHoleStepRules(MachiningDefinition& d, std::optional<double> selectedHoleDiameter,
                        const handover::MachiningDefaults& defaults);

// MAX_穴深さ: the smallest of step 0's surface Z and the depths of the steps
// with an ATC number.
double DeepestHoleDepth(const MachiningDefinition& d);

// A typed MAX_穴深さ or step depth: v, or -v when v lies above step 0's
// surface Z.
double HoleDepthFromTyped(const MachiningDefinition& d, double v);

// The step button g_stepButtonNumber was pressed (0 after 追加 or 削 除): in
// delete mode step n is removed (the later rows move up, step 8 cannot be
// removed); in insert mode a blank step (diameter -1) goes in at n (rows
// move down, the eighth is lost). g_curStepIndex becomes n - 1, -1 when no
// step is current. True when rows moved.
bool SelectHoleStep(DocAtcTable& atc);

// Fills steps 0..7 from the process's rows (in use while the row has a
// diameter; through, depth-fixed, depth and extra depth cleared) and copies
// its machine name (cut to the definition's field on a character boundary)
// and name.
void ApplyHoleProcessToDefinition(MachiningDefinition& d, const HoleProcessRecord& process);

// The radius the circles of a hole definition get: half the diameter of the
// last tool of the counted steps (counted from step 0 while a step has a
// tool) whose diameter is above 0; none when no such step exists.
std::optional<double> HoleToolRadius(const MachiningDefinition& d);

// Marks every curve of the definition's curve list that still exists with
// `kind` above the low byte of its flag word; a hole group's circles (figure
// table 90, within its count) get `radius` when one is given. Curves that no
// longer resolve are skipped.
void StampHoleCurves(const MachiningDefinition& d, std::int32_t kind, std::optional<double> radius);

// The helix of a helical hole: the hole diameter less the tool's, or the
// hole diameter itself under G41 compensation.
double HelixDiameter(double holeDiameter, double toolDiameter, bool g41);
// Cut per revolution of a slope angle (degrees): tan(angle) x pi x D.
double CutPerRevolution(double angleDegrees, double helixDiameter);
// The slope angle of a cut per revolution, degrees in (0, 360].
double SlopeAngleOfCut(double cut, double helixDiameter);

}  // namespace dorn
