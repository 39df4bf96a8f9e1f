#pragma once
// DrawingHeader: the 616-byte system and drawing record. It is the system
// record "$@@@.@@@" in the program folder and the head of every ".KWD" (and
// older ".KWQ", ".KSE") drawing definition file.
//
// Kelto_Dorn owns it (g_drawingHeader): it names the open drawing, keeps
// program-wide settings and, before each start of Kelto_qup, the version
// word, the start mode and the sub-mode. Kelto_qup reads it at start-up,
// writes it back at once with both mode words 99 (a start mode is used once)
// and reads names, work size, program number and switches during its runs.
// Texts are CP932, NUL-terminated within their fields. Lengths mm.
//
// | off | type      | field                | meaning (first-run value)            |
// |-----|-----------|----------------------|--------------------------------------|
// |   0 | int32     | version              | 34091 before each companion start    |
// |   4 | int32     | machiningTimeRecord  | record 1-4 of "$KP_TIME.@@@" (0)     |
// |   8 | char[64]  | drawingName          | ("TEST")                             |
// |  72 | char[64]  | unitName             | folder under the data root ("SAMPLE")|
// | 136 | char[64]  | secondName           | folder under the unit ("PGM")        |
// | 200 | char[32]  | designerName         | at most 30 characters typed          |
// | 232 | char[32]  | name2, name3         | two further names (empty)            |
// | 296 | char[8]   | dataExtension        | NC/data file extension, 3 characters |
// |     |           |                      | used ("DAT")                         |
// | 304 | int32     | fileListKind         | 0 drawings, 1 data files, 0x8000     |
// |     |           |                      | typed folder; stored as 0            |
// | 308 | int32     | continuousMode       | bit 0: commands restart (0)          |
// | 312 | int32     | showFigures          | (1)                                  |
// | 316 | int32     | plotterSetting       | (0)                                  |
// | 320 | int32     | executionMode        | 0 NORMAL, 1 PAUSE, 2 SLOW            |
// | 324 | int32 x3  | ncSetting324..332    | NC creation settings; 328 display    |
// | 336 | int32     | frameCreatedWord     | set to 1 when the main frame is made |
// | 340 | int32     | autoIntersection     | (0)                                  |
// | 344 | int32     | printOptions         | low byte 'R' / 'S', bits 0xF000      |
// |     |           |                      | colour mode (0x1000, 0x2000)         |
// | 348 | int32     | machiningOrderCount  |                                      |
// | 352 | int32     | cadImportKind        | low 4 bits 1-6; 0x8000 DXF output    |
// | 356 | int32     | cadImportSetting     |                                      |
// | 360 | int32     | showAxes             | grid, axes, origins, work box        |
// | 364 | int32     | reserved364          |                                      |
// | 368 | int32     | nfsSwitch            | 0 or 15: send the NC file over the   |
// |     |           |                      | network drive                        |
// | 372 | int32     | companionStarted     | set to 1 by the companion start-up   |
// | 376 | int32     | displayListReload    | reload "$CG_DATA.LST" at start       |
// | 380 | int32     | portByte             | low 4 bits COM1..COM9 as 0..8; 0x10  |
// |     |           |                      | draw, 0x20 list, 0x40 network (17)   |
// | 384 | int32     | startMode            | 0-9 NC runs, 11, 12, 22, 24, 33, 39, |
// |     |           |                      | 40; 99 nothing                       |
// | 388 | int32     | subMode              |                                      |
// | 392 | int32     | ncDisplayFlags       | 0x8000: block list hidden (0)        |
// | 396 | int32     | slowFeed             | SLOW feed mm/s (75)                  |
// | 400 | int32     | backupWord           | set to 1 by the unit backup          |
// | 404 | int32     | word404              | (2)                                  |
// | 408 | int32     | viewSetting          | the view's setting, saved on write   |
// | 412 | int32 x2  | reserved412, 416     |                                      |
// | 420 | int32     | workOriginPosition   | 0 centre, 1 top right, 2 top left,   |
// |     |           |                      | 3 bottom left, 4 bottom right        |
// | 424 | int32     | workBoxHidden        |                                      |
// | 428 | int32     | reserved428          |                                      |
// | 432 | int32     | curOriginIndex       | 0..63, current origin of the layer   |
// | 436 | int32     | programNumberSwitch  |                                      |
// | 440 | int32     | programNumber        | O number, 0 none                     |
// | 444 | int32     | machiningSetting444  |                                      |
// | 448 | int32     | programNumberForm    | 0, 1 or 2                            |
// | 452 | int32     | reserved452          |                                      |
// | 456 | double    | originOffsetX, Y     | work centre from the machining origin|
// | 472 | double    | workSizeX, Y, Z      | stock size; Z also the global Z      |
// | 496 | int32     | reserved496          |                                      |
// | 500 | int32     | fileMenuWord         | cleared by the File menu             |
// | 504 | float x4  | floats504            |                                      |
// | 520 | char[80]  | programComment       | NC program comment, 72 typed         |
// | 600 | int32     | globalZMode          | 9999: work bottom is Z 0             |
// | 604 | int32     | curveKeyCounter      |                                      |
// | 608 | int32     | reserved608          |                                      |
// | 612 | int32     | holeSubprogram       | 1: hole points as a subprogram file  |
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/record_file.h"

namespace handover {

struct DrawingHeader {
  std::int32_t version = 0;
  std::int32_t machiningTimeRecord = 0;  // was reserved; the companion picks its machining-time record here
  char drawingName[64] = {};
  char unitName[64] = {};
  char secondName[64] = {};
  char designerName[32] = {};  // the first of three 32-byte names
  char name2[32] = {};
  char name3[32] = {};
  char dataExtension[8] = {};     // the NC/data file extension; "DAT" on first run
  std::int32_t fileListKind = 0;  // the file list's kind; the main program stores it as 0
  std::int32_t continuousMode = 0;
  std::int32_t showFigures = 0;
  std::int32_t plotterSetting = 0;
  std::int32_t executionMode = 0;
  std::int32_t ncSetting324 = 0;
  std::int32_t ncSetting328 = 0;  // display word; start mode 7 copies it with bit 0x8000
  std::int32_t ncSetting332 = 0;
  std::int32_t frameCreatedWord = 0;  // set to 1 by the main frame; 0 on first run
  std::int32_t autoIntersection = 0;
  std::int32_t printOptions = 0;  // the print choices and the print colour mode in one word
  std::int32_t machiningOrderCount = 0;
  std::int32_t cadImportKind = 0;  // ImportFileKind: kind in the low 4 bits, 0x8000 DXF output mode
  std::int32_t cadImportSetting = 0;
  std::int32_t showAxes = 0;  // the companion reads it as its work-box display switch
  std::int32_t reserved364 = 0;
  std::int32_t nfsSwitch = 0;
  std::int32_t companionStarted = 0;   // unused by the main program; the companion sets it to 1
  std::int32_t displayListReload = 0;  // the main program's flag that the companion reads as reload
  std::int32_t portByte = 0;           // port index in the low 4 bits with the send switches above
  std::int32_t startMode = 0;
  std::int32_t subMode = 0;
  std::int32_t ncDisplayFlags = 0;  // one switch: NC block list off (also the monitor's hidden start)
  std::int32_t slowFeed = 0;
  std::int32_t backupWord = 0;
  std::int32_t word404 = 0;
  std::int32_t viewSetting = 0;
  std::int32_t reserved412 = 0;
  std::int32_t reserved416 = 0;
  std::int32_t workOriginPosition = 0;
  std::int32_t workBoxHidden = 0;
  std::int32_t reserved428 = 0;
  std::int32_t curOriginIndex = 0;
  std::int32_t programNumberSwitch = 0;  // the "NC data creation value" is the program-number switch
  std::int32_t programNumber = 0;
  std::int32_t machiningSetting444 = 0;
  std::int32_t programNumberForm = 0;  // the machining setting at 448 is the program-number form
  std::int32_t reserved452 = 0;
  double originOffsetX = 0.0;  // the "work size and position" doubles: offsets first, then size
  double originOffsetY = 0.0;
  double workSizeX = 0.0;
  double workSizeY = 0.0;
  double workSizeZ = 0.0;  // the work thickness is the default depth and global Z of new figures
  std::int32_t reserved496 = 0;
  std::int32_t fileMenuWord = 0;
  float floats504[4] = {};
  char programComment[80] = {};  // text, not 20 integers: the comment dialog and the builder use it so
  std::int32_t globalZMode = 0;
  std::int32_t curveKeyCounter = 0;
  std::int32_t reserved608 = 0;
  std::int32_t holeSubprogram = 0;

  // Other names of the same bytes.
  std::int32_t& printColourMode() { return printOptions; }
  std::int32_t& workBoxDisplay() { return showAxes; }
  double& defaultDepth() { return workSizeZ; }
  double& globalZ() { return workSizeZ; }
  double globalZ() const { return workSizeZ; }

  // The serial port index 0..8 (COM1..COM9) of the port byte, or -1 when the
  // low four bits name no port.
  int SerialPortIndex() const;
  // The machining-time record 1..4 to use; a stored number outside 1..4
  // (0 on first run) means record 1.
  int MachiningTimeRecordNumber() const;

  static constexpr std::int32_t kVersionWord = 34091;  // 0x852B
  static constexpr std::int32_t kNoStartMode = 99;
  static constexpr std::int32_t kGlobalZBottom = 9999;
  static constexpr std::int32_t kBlockListHidden = 0x8000;
  static constexpr std::int32_t kPortIndexMask = 0x0F;
  static constexpr std::int32_t kPortDraw = 0x10;
  static constexpr std::int32_t kPortList = 0x20;
  static constexpr std::int32_t kPortNetwork = 0x40;
  static constexpr int kOriginsPerLayer = 64;
};

static_assert(sizeof(DrawingHeader) == 616);
static_assert(offsetof(DrawingHeader, version) == 0);
static_assert(offsetof(DrawingHeader, machiningTimeRecord) == 4);
static_assert(offsetof(DrawingHeader, drawingName) == 8);
static_assert(offsetof(DrawingHeader, unitName) == 72);
static_assert(offsetof(DrawingHeader, secondName) == 136);
static_assert(offsetof(DrawingHeader, designerName) == 200);
static_assert(offsetof(DrawingHeader, name2) == 232);
static_assert(offsetof(DrawingHeader, name3) == 264);
static_assert(offsetof(DrawingHeader, dataExtension) == 296);
static_assert(offsetof(DrawingHeader, fileListKind) == 304);
static_assert(offsetof(DrawingHeader, continuousMode) == 308);
static_assert(offsetof(DrawingHeader, showFigures) == 312);
static_assert(offsetof(DrawingHeader, plotterSetting) == 316);
static_assert(offsetof(DrawingHeader, executionMode) == 320);
static_assert(offsetof(DrawingHeader, ncSetting324) == 324);
static_assert(offsetof(DrawingHeader, ncSetting328) == 328);
static_assert(offsetof(DrawingHeader, ncSetting332) == 332);
static_assert(offsetof(DrawingHeader, frameCreatedWord) == 336);
static_assert(offsetof(DrawingHeader, autoIntersection) == 340);
static_assert(offsetof(DrawingHeader, printOptions) == 344);
static_assert(offsetof(DrawingHeader, machiningOrderCount) == 348);
static_assert(offsetof(DrawingHeader, cadImportKind) == 352);
static_assert(offsetof(DrawingHeader, cadImportSetting) == 356);
static_assert(offsetof(DrawingHeader, showAxes) == 360);
static_assert(offsetof(DrawingHeader, reserved364) == 364);
static_assert(offsetof(DrawingHeader, nfsSwitch) == 368);
static_assert(offsetof(DrawingHeader, companionStarted) == 372);
static_assert(offsetof(DrawingHeader, displayListReload) == 376);
static_assert(offsetof(DrawingHeader, portByte) == 380);
static_assert(offsetof(DrawingHeader, startMode) == 384);
static_assert(offsetof(DrawingHeader, subMode) == 388);
static_assert(offsetof(DrawingHeader, ncDisplayFlags) == 392);
static_assert(offsetof(DrawingHeader, slowFeed) == 396);
static_assert(offsetof(DrawingHeader, backupWord) == 400);
static_assert(offsetof(DrawingHeader, word404) == 404);
static_assert(offsetof(DrawingHeader, viewSetting) == 408);
static_assert(offsetof(DrawingHeader, reserved412) == 412);
static_assert(offsetof(DrawingHeader, reserved416) == 416);
static_assert(offsetof(DrawingHeader, workOriginPosition) == 420);
static_assert(offsetof(DrawingHeader, workBoxHidden) == 424);
static_assert(offsetof(DrawingHeader, reserved428) == 428);
static_assert(offsetof(DrawingHeader, curOriginIndex) == 432);
static_assert(offsetof(DrawingHeader, programNumberSwitch) == 436);
static_assert(offsetof(DrawingHeader, programNumber) == 440);
static_assert(offsetof(DrawingHeader, machiningSetting444) == 444);
static_assert(offsetof(DrawingHeader, programNumberForm) == 448);
static_assert(offsetof(DrawingHeader, reserved452) == 452);
static_assert(offsetof(DrawingHeader, originOffsetX) == 456);
static_assert(offsetof(DrawingHeader, originOffsetY) == 464);
static_assert(offsetof(DrawingHeader, workSizeX) == 472);
static_assert(offsetof(DrawingHeader, workSizeY) == 480);
static_assert(offsetof(DrawingHeader, workSizeZ) == 488);
static_assert(offsetof(DrawingHeader, reserved496) == 496);
static_assert(offsetof(DrawingHeader, fileMenuWord) == 500);
static_assert(offsetof(DrawingHeader, floats504) == 504);
static_assert(offsetof(DrawingHeader, programComment) == 520);
static_assert(offsetof(DrawingHeader, globalZMode) == 600);
static_assert(offsetof(DrawingHeader, curveKeyCounter) == 604);
static_assert(offsetof(DrawingHeader, reserved608) == 608);
static_assert(offsetof(DrawingHeader, holeSubprogram) == 612);
static_assert(platform::FileRecord<DrawingHeader>);

inline constexpr char kSystemRecordFileName[] = "$@@@.@@@";

// The record of a first run: the drawing "TEST" of unit "SAMPLE", second
// name "PGM", extension "DAT", figures shown, port byte 17, SLOW feed 75 mm/s,
// the version word, and both mode words 99 so that a missing record never
// starts a run. Every other byte is 0.
DrawingHeader DefaultDrawingHeader();

// Terminates every text field and checks what the readers index with: the
// current origin index (0..63) and the doubles and floats (finite). Empty
// when the header can be used, else what is wrong. Also for the head of a
// drawing definition file.
std::string CheckDrawingHeader(DrawingHeader& header);

// Each value field that is not a number, named with its offset ("work size
// X (+472) is not a number"); empty when every value is a number. A drawing
// is not saved with such a header.
std::vector<std::string> DrawingHeaderValueFaults(const DrawingHeader& header);

// Repairs each unusable field of a drawing file's head by itself, so one
// damaged field never costs the rest of the record: a value that is not a
// number becomes 0, a current origin index outside 0..63 becomes 0, texts are
// terminated. Returns one line per repaired field.
std::vector<std::string> RepairDrawingHeader(DrawingHeader& header);

// Reads "$@@@.@@@". Missing: `header` becomes DefaultDrawingHeader() and the
// status is Missing. Wrong size or a failed check: damaged, `header` is left
// as it was.
platform::FileResult ReadDrawingHeader(const std::filesystem::path& path, DrawingHeader& header);

// Writes the record whole and atomically; a double or float that is not
// finite is refused and nothing is written.
platform::FileResult WriteDrawingHeader(const std::filesystem::path& path, const DrawingHeader& header);

}  // namespace handover
