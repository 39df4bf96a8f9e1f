// Writes the first corpus of every fuzz target from the system's own writers:
//   make_fuzz_seeds <corpus folder>
// (tests/fuzz/corpus). Each seed is a real file of its kind, so the fuzzer
// starts from inputs the readers accept and mutates them into damaged ones.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/app/text_record.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/tooldb/atc_csv.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/hole_process_csv.h"
#include "kelto_dorn/tooldb/hole_process_record.h"
#include "kelto_dorn/tooldb/tool_csv.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "kelto_qup/shell/display_window.h"
#include "kelto_qup/shell/main_frame.h"
#include "platform/text.h"
#include "shared/handover/code_line_record.h"
#include "shared/handover/color_table.h"
#include "shared/handover/com_settings.h"
#include "shared/handover/display_record.h"
#include "shared/handover/display_settings_record.h"
#include "shared/handover/drawing_header.h"
#include "shared/handover/machining_defaults.h"
#include "shared/handover/nc_element.h"
#include "shared/handover/pit_in_map_record.h"
#include "shared/handover/post_definition.h"
#include "shared/handover/tool_map_record.h"
#include "tests/fuzz/dorn_fuzz_setup.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/kelto_qup/support/handover_builder.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void Save(const fs::path& folder, const std::string& name, const Bytes& bytes) {
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Join(const std::vector<Bytes>& parts) {
  Bytes out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) out.insert(out.end(), fuzz::kPartSeparator.begin(), fuzz::kPartSeparator.end());
    out.insert(out.end(), parts[i].begin(), parts[i].end());
  }
  return out;
}

Bytes WithSelector(std::uint8_t selector, const Bytes& file) {
  Bytes out{selector};
  out.insert(out.end(), file.begin(), file.end());
  return out;
}

// A reader's seed: the file its writer makes.
template <class Write>
Bytes Written(Write write) {
  const fs::path path = fuzz::ProgramFolder() / "seed.@@@";
  if (!write(path).ok()) std::fprintf(stderr, "a seed could not be written\n");
  return ReadBytes(path);
}

void HandoverRecordSeeds(const fs::path& corpus) {
  const fs::path out = corpus / "fuzz_handover_records";
  testsupport::HandoverBuilder job;
  job.Begin();
  job.Point(100, 10, 15);
  job.BeginProcess(400, 5, 0, 0, 50, 1200, 8.5);
  job.TextLine(401, "(COMMENT)");
  job.End();
  std::uint32_t palette[32] = {};
  for (std::uint32_t i = 0; i < 32; ++i) palette[i] = i * 0x070503u;
  std::vector<handover::CDisplayRecord> display(3);
  display[1].kind = 1;
  display[1].x = 10.0f;
  std::vector<handover::PitInMapRecord> pitIn(2);
  pitIn[0].kind = 1;
  Save(out, "header", WithSelector(0, Written([&](auto p) { return handover::WriteDrawingHeader(p, job.header); })));
  Save(out, "colours", WithSelector(1, Written([&](auto p) {
                                      return handover::WriteColorTable(p, handover::DefaultColorTable(palette));
                                    })));
  Save(out, "ports",
       WithSelector(2, Written([](auto p) { return handover::WriteComSettings(p, handover::DefaultComSettings()); })));
  Save(out, "defaults", WithSelector(3, Written([](auto p) {
                                       return handover::WriteMachiningDefaults(p, handover::MachiningDefaults{});
                                     })));
  Save(out, "posts", WithSelector(4, Written([&](auto p) { return handover::WritePostTable(p, job.posts); })));
  Save(out, "codes", WithSelector(5, Written([&](auto p) {
                                    return handover::WriteCodeLineFile(p, job.codeLines, job.codeLineCount);
                                  })));
  Save(out, "display", WithSelector(6, Written([&](auto p) { return handover::WriteDisplayList(p, display, 0); })));
  Save(out, "pitin", WithSelector(7, Written([&](auto p) { return handover::WritePitInMap(p, pitIn); })));
  Save(out, "toolmap", WithSelector(8, Written([&](auto p) { return handover::WriteToolMapFile(p, job.toolMap); })));
  Save(out, "elements", WithSelector(9, Written([&](auto p) { return handover::WriteElementFile(p, job.elements); })));
}

// A small drilling job, and one with code lines and a pit-in map.
void QupJobSeeds(const fs::path& corpus) {
  const fs::path out = corpus / "fuzz_qup_job";
  for (int variant = 0; variant < 2; ++variant) {
    testsupport::HandoverBuilder job;
    job.Begin();
    for (int i = 0; i < 3; ++i) job.Point(100, 10.0 + 20.0 * i, 15.0);
    job.Line(101, 0, 0, 40, 0);
    job.Arc(102, 10, 50, 0, 40, 10, 40, 0);
    testsupport::HoleProcess hole;
    hole.tool.diameter = 8.5;
    if (variant == 1) {
      hole.code = 0x6C00;  // a deep hole with a top cut and high-speed pecks
      hole.tool.peckDepth = 2.0;
      hole.tool.pCode = 1.0;
      job.pitIn.resize(1);
      job.pitIn[0].kind = 1;
    }
    job.BeginDefinition(399, hole);
    job.BeginHoleProcess(400, hole);
    if (variant == 1) job.TextLine(401, "(DEEP)");
    job.HoleCutIn(402, hole);
    job.Hole(403, 100, hole);
    job.ProcessEnd(500);
    job.End();
    const fs::path dir = fuzz::ProgramFolder() / ("job" + std::to_string(variant));
    fs::create_directories(dir);
    job.Write(dir);
    Save(out, "drilling" + std::to_string(variant),
         Join({ReadBytes(dir / handover::kElementFileName), ReadBytes(dir / handover::kCodeLineFileName),
               ReadBytes(dir / handover::kToolMapFileName), ReadBytes(dir / handover::kPitInMapFileName)}));
  }
}

dorn::FigureRecord Line(double x0, double y0, double x1, double y1, int colour) {
  dorn::FigureRecord f;
  f.kind = dorn::kKindLine;
  f.style = dorn::kNewFigureStyle;
  f.attribute = colour;
  f.start = {x0, y0};
  f.end = {x1, y1};
  return f;
}

void Append(int table, const dorn::FigureRecord& figure, int layer) {
  dorn::g_figureTableSelector = table;
  dorn::g_curLayer = layer;
  dorn::g_curFigure = figure;
  dorn::AppendFigure(0);
}

// Figures on two layers, a curve of three figures, texts, a second origin, a
// surface and a machining definition: every section of the files has records.
void BuildSampleDrawing(dorn::CKelDoc& document) {
  dorn::ResetDrawing(document);
  Append(0, Line(0, 0, 10, 0, 1), 0);
  dorn::FigureRecord arc = Line(7.5, 5, 7.5, 5, 3);
  arc.kind = dorn::kKindArc;
  arc.centre = {5, 5};
  arc.radius = 2.5;
  Append(2, arc, 2);
  for (int i = 0; i < 3; ++i) Append(dorn::kTableCurves, Line(i, 0, i + 1, 0, 6), 4);
  dorn::CurveRecord& c = dorn::g_curveTable[0];
  c = dorn::CurveRecord{};
  c.layer = 4;
  c.key = 501;
  c.first = 0;
  c.end = 3;
  platform::SetFieldText(c.name, "CURVE1");
  dorn::g_curveCount = 1;
  dorn::g_originTable[2][1] = {10.0, 20.0};
  dorn::g_originCount[2] = 2;
  for (int i = 0; i < 2; ++i) {
    dorn::TextRecord& t = dorn::g_textRecords[static_cast<std::size_t>(i)];
    t = dorn::TextRecord{};
    t.layer = i;
    t.size = 3.5f;
    dorn::SetTextRecordText(t, i ? platform::Sjis("テキスト").c_str() : "WORK");
  }
  dorn::g_surfaceSlots[0].kind = 3;
  dorn::g_surfaceSlots[0].key = 11;
  dorn::g_surfaceIndexTable.records[0] = dorn::DefinitionIndexRecord{1, 11, 0, 3, "S1"};
  dorn::g_surfaceIndexTable.count = 1;
  dorn::MachiningDefinition& d = document.definitions.Slot(0);
  d.kind = 0xB400;
  d.number = 7;
  d.steps[0].depth = -1.25;
  dorn::g_machiningIndexTable.records[0] = dorn::DefinitionIndexRecord{2, 5, 0, 0xB400, "ANA"};
  dorn::g_machiningIndexTable.count = 1;
  dorn::g_figureTableSelector = 0;
  dorn::g_curLayer = 0;
}

void DrawingSeeds(const fs::path& corpus, dorn::CKelDoc& document) {
  BuildSampleDrawing(document);
  std::string fault;
  const Bytes figures = dorn::BuildFigureFile(&fault);
  const Bytes definitions = dorn::BuildDefinitionFile(document, &fault);
  if (!fault.empty()) std::fprintf(stderr, "sample drawing: %s\n", fault.c_str());
  Save(corpus / "fuzz_drawing_kwd", "sample", Join({figures, definitions}));
  Save(corpus / "fuzz_drawing_kwd", "figures_only", Join({figures, {}}));
  const fs::path fixtures = fs::path(KELTO_SOURCE_DIR) / "tests" / "fixtures" / "document";
  Save(corpus / "fuzz_drawing_kwq", "old",
       Join({ReadBytes(fixtures / "OLDKWQ.MZF"), ReadBytes(fixtures / "OLDKWQ.KWQ")}));
  Save(corpus / "fuzz_drawing_kse", "old",
       Join({ReadBytes(fixtures / "OLDKSE.MZF"), ReadBytes(fixtures / "OLDKSE.KSE")}));

  // One snapshot of each kind, of the sample drawing.
  for (std::uint8_t type = 0; type < 4; ++type) {
    static constexpr int kTypes[] = {dorn::kUndoTypeTable, dorn::kUndoTypeTableCurves, dorn::kUndoTypeCurves,
                                     dorn::kUndoTypeWhole};
    dorn::PurgeUndoSnapshots();
    dorn::SnapshotForUndo(kTypes[type]);
    Save(corpus / "fuzz_undo_snapshot", "kind" + std::to_string(type),
         WithSelector(type, ReadBytes(dorn::UndoFilePath(dorn::g_undo.slots[0]))));
  }
}

// A hole process of two steps, a centre drill and a drill, whole as the
// hole-process editor writes its record.
dorn::HoleProcessRecord SampleHoleProcess() {
  dorn::HoleProcessRecord process{};
  platform::SetFieldText(process.name, "M10_TAP");
  const struct {
    int atc, cycle, speed;
    float diameter, tipAngle, feed;
    const char *sec, *folder;
  } steps[] = {{2, 81, 1500, 3.0f, 90.0f, 80.0f, "CD3", "CENTER"}, {5, 83, 1200, 8.5f, 118.0f, 100.0f, "DR8.5", "DRILL"}};
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    dorn::AtcRecord& row = process.rows[i];
    row.inUse = 1;
    row.atcNumber = steps[i].atc;
    row.cannedCycle = steps[i].cycle;
    row.spindleSpeed = steps[i].speed;
    row.diameter = steps[i].diameter;
    row.tipAngle = steps[i].tipAngle;
    row.feed = steps[i].feed;
    row.peckDepth = 2.0f;
    platform::SetFieldText(row.secName, steps[i].sec);
    platform::SetFieldText(row.toolName, steps[i].folder);
  }
  return process;
}

void SettingsSeeds(const fs::path& corpus) {
  const fs::path out = corpus / "fuzz_dorn_settings";
  const fs::path fixtures = fs::path(KELTO_SOURCE_DIR) / "tests" / "fixtures";
  Save(out, "system_record", WithSelector(0, ReadBytes(fixtures / "handover" / "system_record.@@@")));
  Save(out, "defaults", WithSelector(5, ReadBytes(fixtures / "handover" / "def_kako2_128.@@@")));
  Save(out, "selection", WithSelector(6, ReadBytes(fixtures / "tooldb" / "DBS_NAME_sample.@@@")));
  Save(out, "tools", WithSelector(7, ReadBytes(fixtures / "tooldb" / "DBS_GEN_three_tools.@@@")));
  Save(out, "atc", WithSelector(8, ReadBytes(fixtures / "tooldb" / "ATC_DBS_three_rows.@@@")));
  const dorn::HoleProcessRecord process = SampleHoleProcess();
  Save(out, "hole_process", WithSelector(9, Written([&](auto p) { return platform::WriteRecord(p, process); })));
  const std::string m00 = "T5\r\nT12 M00\r\n3\r\n";
  Save(out, "m00_settings", WithSelector(10, Bytes(m00.begin(), m00.end())));
}

// The three CSV exchange files as the database editors export them, from a
// tool folder, an ATC table and a hole process of the test fixtures.
void CsvImportSeeds(const fs::path& corpus, dorn::CKelDoc& document) {
  const fs::path out = corpus / "fuzz_dorn_csv_imports";
  const fs::path fixtures = fs::path(KELTO_SOURCE_DIR) / "tests" / "fixtures" / "tooldb";
  const fs::path home = fuzz::ProgramFolder();
  dorn::SetBaseName("B");
  dorn::SetToolName("T");
  dorn::SetMachineName("M");
  if (!dorn::WriteDbSelection().ok()) std::fprintf(stderr, "the database selection could not be written\n");
  Save(home / "_DBS" / "B" / "T", "$DBS_GEN.@@@", ReadBytes(fixtures / "DBS_GEN_three_tools.@@@"));
  Save(home / "_ATC" / "M", "$ATC_DBS.@@@", ReadBytes(fixtures / "ATC_DBS_three_rows.@@@"));
  const dorn::HoleProcessRecord process = SampleHoleProcess();
  fs::create_directories(home / "_ANA" / "M10_TAP");
  if (!platform::WriteRecord(home / "_ANA" / "M10_TAP" / "$HOLE_DBS.@@@", process).ok())
    std::fprintf(stderr, "the hole process could not be written\n");
  dorn::ExportToolDatabase(document.tools);
  dorn::ExportAtcTables(document.atc, {"M"});
  dorn::ExportHoleProcesses(document.atc);
  Save(out, "tools", WithSelector(0, ReadBytes(dorn::ToolCsvPath())));
  Save(out, "atc", WithSelector(1, ReadBytes(dorn::AtcCsvPath())));
  Save(out, "holes", WithSelector(2, ReadBytes(dorn::HoleProcessCsvPath())));
}

// The companion's start files as Kelto_Dorn and the companion write them,
// and a display list of a cut with rapid and feed moves in two tools.
void QupStartFileSeeds(const fs::path& corpus) {
  const fs::path out = corpus / "fuzz_qup_start_files";
  testsupport::HandoverBuilder job;
  std::uint32_t palette[32] = {};
  for (std::uint32_t i = 0; i < 32; ++i) palette[i] = i * 0x070503u;
  Save(out, "header", WithSelector(0, Written([&](auto p) { return handover::WriteDrawingHeader(p, job.header); })));
  Save(out, "colours", WithSelector(1, Written([&](auto p) {
                                      return handover::WriteColorTable(p, handover::DefaultColorTable(palette));
                                    })));
  Save(out, "defaults", WithSelector(3, Written([](auto p) {
                                       return handover::WriteMachiningDefaults(p, handover::MachiningDefaults{});
                                     })));
  Save(out, "lib", WithSelector(7, Written([](auto p) {
                                  return handover::WritePlotterSettings(p, qup::shell::DefaultDrawingState());
                                })));
  Save(out, "cgm", WithSelector(9, Written([](auto p) {
                                  return handover::WriteDisplaySettings(p, handover::DisplaySettingsRecord{});
                                })));
  std::vector<handover::CDisplayRecord> display(6);
  const float points[6][3] = {{0, 0, 50}, {10, 15, 50}, {10, 15, 2}, {10, 15, -10}, {50, 15, -10}, {50, 45, -10}};
  for (std::size_t i = 0; i < display.size(); ++i) {
    display[i].kind = i < 3 ? -1 : 1;
    display[i].colorWord = i < 4 ? 5 : 7;
    display[i].x = points[i][0], display[i].y = points[i][1], display[i].z = points[i][2];
  }
  Save(out, "display", WithSelector(10, Written([&](auto p) { return handover::WriteDisplayList(p, display, 0); })));
  const std::string text = "G65P9000\r\nM98P9001\r\n";
  Save(out, "controller", WithSelector(11, Bytes(text.begin(), text.end())));
  // The window's place as the main frame writes it when it closes.
  const qup::shell::WindowPlacement placement{40, 30, 1320, 1054, 0x1074, 0x4074};
  Save(out, "rect", WithSelector(12, Written([&](auto p) { return platform::WriteRecord(p, placement); })));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_seeds <corpus folder>\n");
    return 2;
  }
  const fs::path corpus = argv[1];
  fuzz::HeadlessGuard backend;
  HandoverRecordSeeds(corpus);
  QupJobSeeds(corpus);
  DrawingSeeds(corpus, fuzz::DornDocument());
  SettingsSeeds(corpus);
  QupStartFileSeeds(corpus);
  CsvImportSeeds(corpus, fuzz::DornDocument());
  return 0;
}
