// The DXF reader against files written by another program (ezdxf, see
// tests/fixtures/files/make_dxf_fixtures.py): every line, arc, circle and
// text ezdxf itself finds in the drawing (bulge arcs, block insertions and
// dimension pictures resolved by ezdxf) must be in the drawing after the
// import, on the layer of the file's layer; and damaged files leave the
// drawing as it was.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/drawing/curve_through_points.h"
#include "kelto_dorn/files/dxf_reader.h"
#include "platform/text.h"
#include "tests/kelto_dorn/files/files_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;

struct Expected {
  std::string kind;
  std::vector<double> v;
  int layer = 0;
  std::string text;      // CP932
  bool angleCompared = false;
  double angle = 0.0;
};

std::vector<Expected> ReadExpected(const fs::path& path) {
  std::vector<Expected> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream s(line);
    Expected e;
    s >> e.kind;
    const int numbers = e.kind == "line" ? 4 : e.kind == "arc" ? 7 : e.kind == "circle" ? 3 : 2;
    for (int i = 0; i < numbers; ++i) {
      double d = 0;
      s >> d;
      e.v.push_back(d);
    }
    if (e.kind == "text") {
      std::string angle;
      s >> angle;
      e.angleCompared = angle != "*";
      if (e.angleCompared) e.angle = std::stod(angle);
    }
    if (e.kind != "point") s >> e.layer;
    if (e.kind == "text") {
      std::string rest;
      std::getline(s, rest);
      e.text = platform::Utf8ToCp932(rest.substr(1));
    }
    out.push_back(e);
  }
  return out;
}

bool Near(Vec2 a, double x, double y, double tol = 1e-6) { return std::fabs(a.x - x) < tol && std::fabs(a.y - y) < tol; }

// Whether the figure is what the expected line describes.
bool Matches(const FigureRecord& f, const Expected& e) {
  if (e.kind == "line") return f.kind == kKindLine && Near(f.start, e.v[0], e.v[1]) && Near(f.end, e.v[2], e.v[3]);
  if (f.kind != kKindArc || std::fabs(std::fabs(f.radius) - e.v[2]) > 1e-6 || !Near(f.centre, e.v[0], e.v[1]))
    return false;
  const bool full = Near(f.start, f.end.x, f.end.y, 1e-9);
  if (e.kind == "circle") return full;
  const Vec2 s = f.radius > 0 ? f.start : f.end, d = f.radius > 0 ? f.end : f.start;
  return !full && Near(s, e.v[3], e.v[4]) && Near(d, e.v[5], e.v[6]);
}

class DxfReaderTest : public FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    g_dxfCompound = 1;
    g_cadByLayer = 1;
    g_cadByColor = 1;
    g_figureTableSelector = 0;
  }

  DxfReadOutcome Read(const fs::path& path, bool quiet = false) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    EXPECT_NE(f, nullptr) << path;
    const DxfReadOutcome outcome = ReadDxfFile(f, path.filename().string(), quiet);
    if (f != nullptr) std::fclose(f);
    return outcome;
  }

  DxfReadOutcome ReadText(const std::string& text, bool quiet = true) {
    const fs::path path = Home() / "in.dxf";
    std::ofstream(path, std::ios::binary) << text;
    return Read(path, quiet);
  }

  // Checks every expected figure and text against the drawing; the drawing
  // holds nothing more than those and the curve through the fit points.
  void CheckAgainstEzdxf(const std::string& name) {
    const auto expected = ReadExpected(testsupport::FixturePath("files/" + name + ".expected"));
    const DxfReadOutcome outcome = Read(testsupport::FixturePath("files/" + name + ".dxf"));
    ASSERT_TRUE(outcome.ok) << outcome.message;
    std::vector<std::vector<FigureRecord>> tables;
    std::vector<std::vector<bool>> used;
    for (int t = 0; t < kLayerCount; ++t) {
      tables.push_back(Figures(t));
      used.emplace_back(tables.back().size(), false);
    }
    std::vector<Vec2> pieceEnds;
    for (const auto& table : tables)
      for (const auto& f : table)
        if (f.number != 0 && (f.kind == kKindLine || f.kind == kKindArc)) pieceEnds.push_back(f.start), pieceEnds.push_back(f.end);
    const std::vector<TextRecord> texts = Texts();
    std::vector<bool> textUsed(texts.size(), false);
    int expectedFigures = 0;
    for (const Expected& e : expected) {
      if (e.kind == "point") {
        bool on = false;
        for (Vec2 p : pieceEnds) on |= Near(p, e.v[0], e.v[1]);
        EXPECT_TRUE(on) << name << ": the curve misses fit point " << e.v[0] << "," << e.v[1];
        continue;
      }
      if (e.kind == "text") {
        bool found = false;
        for (std::size_t i = 0; i < texts.size() && !found; ++i) {
          const TextRecord& t = texts[i];
          if (textUsed[i] || t.layer != e.layer || std::string(t.text) != e.text) continue;
          if (std::fabs(t.baseX - e.v[0]) > 1e-3 || std::fabs(t.baseY - e.v[1]) > 1e-3) continue;
          if (e.angleCompared && std::fabs(t.angle - e.angle) > 1e-4) continue;
          textUsed[i] = found = true;
        }
        EXPECT_TRUE(found) << name << ": text " << platform::Cp932ToUtf8(e.text) << " at " << e.v[0] << "," << e.v[1];
        continue;
      }
      ++expectedFigures;
      bool found = false;
      auto& table = tables[static_cast<std::size_t>(e.layer)];
      for (std::size_t i = 0; i < table.size() && !found; ++i) {
        if (used[static_cast<std::size_t>(e.layer)][i] || table[i].number != 0 || !Matches(table[i], e)) continue;
        used[static_cast<std::size_t>(e.layer)][i] = found = true;
      }
      EXPECT_TRUE(found) << name << ": " << e.kind << " " << e.v[0] << "," << e.v[1] << " on layer " << e.layer;
    }
    int plain = 0;
    for (const auto& table : tables)
      for (const auto& f : table) plain += f.number == 0 && (f.kind == kKindLine || f.kind == kKindArc);
    EXPECT_EQ(plain, expectedFigures) << name << ": figures the other program does not see";
    EXPECT_EQ(texts.size(), std::count_if(expected.begin(), expected.end(), [](const Expected& e) { return e.kind == "text"; }))
        << name << ": every block text once per insertion, no text left over";
  }
};

TEST_F(DxfReaderTest, ReadsWhatEzdxfSeesInR12AndR2000Files) {
  CheckAgainstEzdxf("import_r12");
  ResetAppState();
  ASSERT_TRUE(g_figureStore.Start());
  g_dxfCompound = g_cadByLayer = g_cadByColor = 1;
  CheckAgainstEzdxf("import_r2000");
}

TEST_F(DxfReaderTest, ColourAndLineTypeOfAnEntity) {
  ReadText("0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nA\n6\nCENTER\n62\n5\n10\n0\n20\n0\n11\n10\n21\n0\n"
           "0\nLINE\n62\n0\n10\n0\n20\n1\n11\n10\n21\n1\n0\nENDSEC\n0\nEOF\n");
  const auto figures = Figures(0);
  ASSERT_EQ(figures.size(), 2u);
  EXPECT_EQ(figures[0].attribute, 5 | 0x2000);
  EXPECT_EQ(figures[1].attribute, 2) << "colour 0 reads as the import's colour 2";
}

// The faults of a file never leave half a drawing: what the read added is
// taken back and the message names the file and the line.
TEST_F(DxfReaderTest, DamagedFilesLeaveTheDrawingAsItWas) {
  const std::string good =
      "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n0\n20\n0\n11\n10\n21\n0\n0\nTEXT\n10\n1\n20\n1\n1\nAB\n"
      "0\nLWPOLYLINE\n90\n2\n10\n0\n20\n5\n10\n5\n20\n5\n";
  struct Case {
    const char* what;
    std::string text;
  } cases[] = {
      {"cut inside an entity", good.substr(0, good.size() - 6)},
      {"cut before ENDSEC", good + "0\n"},
      {"no ENDSEC", good + "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n0\nCIRCLE\n10\n0\n20\n0\n40\n1\n0\nSEQEND\n"},
      {"binary", std::string("AutoCAD Binary DXF\r\n\x1a", 22) + std::string(40, '\0')},
      {"not a DXF", "hello\nworld\n"},
  };
  for (const Case& c : cases) {
    ResetAppState();
    ASSERT_TRUE(g_figureStore.Start());
    g_curFigure = {};
    g_curFigure.kind = kKindLine;
    g_curFigure.end = {1, 1};
    g_figureTableSelector = 0;
    AppendFigure(0);
    TextRecord kept;
    SetTextRecordText(kept, "KEEP");
    AppendTextRecord(kept);
    const int curve = g_pointCurveNumber;
    const DxfReadOutcome outcome = ReadText(c.text);
    EXPECT_FALSE(outcome.ok) << c.what;
    EXPECT_NE(outcome.message.find(platform::Sjis("行目")), std::string::npos) << c.what;
    EXPECT_NE(outcome.message.find("in.dxf"), std::string::npos) << c.what;
    EXPECT_EQ(GetFigureCount(0), 1) << c.what;
    EXPECT_EQ(TextRecordsInUse(), 1) << c.what;
    EXPECT_EQ(g_pointCurveNumber, curve) << c.what;
  }
}

TEST_F(DxfReaderTest, MalformedAndNonFiniteNumbers) {
  const DxfReadOutcome outcome = ReadText(
      "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nabc\n20\n0\n11\n10\n21\n0\n"
      "0\nLINE\n10\nnan\n20\n0\n11\n10\n21\n0\n0\nCIRCLE\n10\n0\n20\n0\n40\n1e999\n0\nENDSEC\n0\nEOF\n");
  ASSERT_TRUE(outcome.ok) << outcome.message;
  const auto figures = Figures(0);
  ASSERT_EQ(figures.size(), 1u) << "the non-finite LINE and CIRCLE are dropped";
  EXPECT_TRUE(Near(figures[0].start, 0, 0)) << "a malformed number reads as 0";
}

TEST_F(DxfReaderTest, LineEndsLongLinesAndSelfInsertingBlocks) {
  // CR-only line ends, a line far beyond the buffer, a block inserting itself.
  std::string text = "0\rSECTION\r2\rBLOCKS\r0\rBLOCK\r2\rS\r10\r0\r20\r0\r0\rLINE\r10\r0\r20\r0\r11\r1\r21\r0\r"
                     "0\rINSERT\r2\rS\r10\r5\r20\r0\r0\rENDBLK\r0\rENDSEC\r0\rSECTION\r2\rENTITIES\r999\r" +
                     std::string(100000, 'x') + "\r0\rINSERT\r2\rS\r10\r0\r20\r10\r0\rENDSEC\r0\rEOF\r";
  const DxfReadOutcome outcome = ReadText(text);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  const auto figures = Figures(0);
  ASSERT_EQ(figures.size(), 1u) << "a block inserted into itself adds nothing more";
  EXPECT_TRUE(Near(figures[0].start, 0, 10));
}

TEST_F(DxfReaderTest, TextCodesLeaveTwoByteCharactersAlone) {
  const std::string hyo = platform::Sjis("表"), so = platform::Sjis("ソ");
  ASSERT_EQ(hyo[1], '\\');
  struct Case {
    const char* entity;
    std::string raw;
    std::string wanted;
  } cases[] = {
      {"TEXT", hyo + "U+00B0", hyo + "U+00B0"},
      {"TEXT", "%%c5 %%p1 %%d %%x", platform::Sjis("φ5 ±1 ° ")},
      {"TEXT", "A\\U+00B0", "A" + platform::Sjis("°")},
      {"MTEXT", so + "P" + hyo + "S\\Pend", so + "P" + hyo + "Send"},
      {"MTEXT", "\\fArial|b0;X\\PY", "XY"},
  };
  for (const Case& c : cases) {
    ResetAppState();
    ASSERT_TRUE(g_figureStore.Start());
    g_figureTableSelector = 0;
    ReadText(std::string("0\nSECTION\n2\nENTITIES\n0\n") + c.entity + "\n10\n0\n20\n0\n1\n" + c.raw +
             "\n0\nENDSEC\n0\nEOF\n");
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u) << c.raw;
    EXPECT_EQ(std::string(texts[0].text), c.wanted) << platform::Cp932ToUtf8(c.raw);
  }
}

TEST_F(DxfReaderTest, NewerFilesHoldUtf8Texts) {
  ReadText("0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1027\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
           "0\nTEXT\n10\n0\n20\n0\n1\n表面 %%c5\n0\nENDSEC\n0\nEOF\n");
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(std::string(texts[0].text), platform::Sjis("表面 φ5"));
}

TEST_F(DxfReaderTest, PolylineFlagsCloseOnTheirFirstBit) {
  for (int flag : {0, 1, 129}) {
    ResetAppState();
    ASSERT_TRUE(g_figureStore.Start());
    g_figureTableSelector = 0;
    ReadText("0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n70\n" + std::to_string(flag) +
             "\n10\n0\n20\n0\n10\n10\n20\n0\n10\n10\n20\n10\n0\nENDSEC\n0\nEOF\n");
    EXPECT_EQ(GetFigureCount(0), (flag & 1) ? 3 : 2) << flag;
  }
}

TEST_F(DxfReaderTest, FullLayerTableKeepsWhatFitsAndSaysSoOnce) {
  std::string text = "0\nSECTION\n2\nTABLES\n";
  for (int i = 0; i < kDxfLayerLimit + 5; ++i) text += "0\nLAYER\n2\nL" + std::to_string(i) + "\n62\n1\n";
  text += "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
  for (int layer : {33, kDxfLayerLimit - 1, kDxfLayerLimit + 2})
    text += "0\nLINE\n8\nL" + std::to_string(layer) + "\n10\n0\n20\n0\n11\n1\n21\n0\n";
  text += "0\nENDSEC\n0\nEOF\n";
  const DxfReadOutcome outcome = ReadText(text, false);
  ASSERT_TRUE(outcome.ok);
  EXPECT_EQ(GetFigureCount(1), 1) << "layer 33 goes to drawing layer 1";
  EXPECT_EQ(GetFigureCount((kDxfLayerLimit - 1) % 32), 1);
  EXPECT_EQ(GetFigureCount(0), 1) << "a layer that did not fit leaves its figure on the selected table";
  EXPECT_EQ(ShownTexts().size(), 1u);
}

}  // namespace
}  // namespace dorn::test
