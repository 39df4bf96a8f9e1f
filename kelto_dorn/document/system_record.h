#pragma once
// The system record "$@@@.@@@" (g_drawingHeader), the colour settings
// "$COLOR.@@@" (g_colorTable), the 3-D model steps "$QUP.@@@", and the start
// of the companion program Kelto_qup, which reads them. All in the program
// folder.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <type_traits>

#include "platform/record_file.h"

namespace dorn {

// Reads "$@@@.@@@" and "$COLOR.@@@". A missing system record is the first
// run: the defaults are set, the unit "SAMPLE" with its second name "PGM" and
// the folders "SEG" and "DAT" are made under the data root, and the record is
// written as "$Kelto20.@@@" ("$@@@.@@@" itself is first written at shutdown
// or before a companion start). A damaged file is reported and the defaults
// are used. The palette of the colour settings becomes the drawing palette.
void ReadSystemSettings();

// Writes "$@@@.@@@" (with +304 cleared) and "$COLOR.@@@" (the drawing
// palette, the figure colour masked to its index). The first failure is
// returned; nothing half-written replaces an old file.
platform::FileResult WriteSystemSettings();

// The first word of "$NC_EXE.@@@": 0 when the file is missing. The companion
// writes 0xFFFF there while it works on an NC file. A file too short to hold
// the word is taken as busy (it is being written).
std::int32_t ReadNcExeFlag();

// Start results.
inline constexpr int kCompanionStarted = 0;
inline constexpr int kCompanionBusy = 1;         // "$NC_EXE.@@@" holds a non-zero word
inline constexpr int kCompanionNotWritten = 2;   // the system record could not be written
inline constexpr int kCompanionStartFailed = 3;  // the program could not be started

// The companion of this installation: the Kelto_qup beside Kelto_Dorn's own
// executable (both are built and installed into one folder), else the one in
// the program folder, for an installation whose program folder is elsewhere.
std::filesystem::path CompanionProgramPath();

// Starts the companion with start mode and sub-mode, without waiting for it:
// in the program folder, which it is told through KELTO_HOME (absolute, so
// it names the same folder from there). Refused, with
// "QUP_Win::只今実行出来ません", while the companion is busy, whatever the
// start mode: a second companion would write the same NC file. A companion
// that has ended its run stays open as a viewer; a new start opens another.
int StartCompanionProgram(int mode, int subMode);

// "$QUP.@@@": the 3-D machining model steps (4 + 56 + 640 bytes).
struct ModelStepRecord {
  std::int32_t surfaceKey = 0;
  std::int32_t resolution = 4;
  std::int32_t side = 1;
  std::int32_t colour = 0;
  std::int32_t flag = 0;
};
static_assert(sizeof(ModelStepRecord) == 20);

// The seven doubles follow the first int without padding, so they are kept
// as bytes and read and written through Value and SetValue.
struct QupSettings {
  QupSettings();
  std::int32_t word0 = 0;
  std::uint8_t valueBytes[7 * sizeof(double)];
  ModelStepRecord rows[32];

  double Value(int i) const;
  void SetValue(int i, double v);
};
static_assert(std::is_standard_layout_v<QupSettings>);
static_assert(sizeof(QupSettings) == 700);
static_assert(offsetof(QupSettings, valueBytes) == 4);
static_assert(offsetof(QupSettings, rows) == 60);

extern QupSettings g_qupSettings;

// The default colour of model step row i.
std::int32_t DefaultModelStepColour(int row);
// Defaults; with keep != 0 each row keeps its resolution and colour. Row 0
// gets colour 2 in both cases.
void DefaultQupSettings(int keep);
// Reads "$QUP.@@@"; a missing file gives the defaults, a short one keeps what
// memory held for the fields it lacks. Values that are not finite are
// refused (the file is reported and memory kept).
platform::FileResult ReadQupSettings();
// Writes the record with every row's flag cleared.
platform::FileResult WriteQupSettings();

}  // namespace dorn
