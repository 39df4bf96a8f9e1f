// The DXF export: its numbers and file names, and a drawing written and read
// back by another program (ezdxf) and by the import.
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/files/dxf_reader.h"
#include "kelto_dorn/files/dxf_writer.h"
#include "kelto_dorn/files/import_placement.h"
#include "platform/text.h"
#include "tests/kelto_dorn/files/files_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;

TEST(DxfNumberTest, TrailingZerosCutToOneAfterThePoint) {
  const std::pair<double, const char*> cases[] = {
      {12.5, "12.5\n"}, {3.0, "3.0\n"}, {0.0, "0.0\n"}, {0.5, "0.5\n"}, {-2.0, "-2.0\n"}, {0.000001, "0.000001\n"},
      {123456.125, "123456.125\n"}};
  for (const auto& [value, text] : cases) {
    std::string out;
    WriteDxfNumber(out, value);
    EXPECT_EQ(out, text) << value;
  }
}

TEST(DxfOutputPathTest, OnlyTheNamesExtensionIsReplaced) {
  const std::pair<const char*, const char*> cases[] = {
      {"D:PART.TXT", "D:\\PART.DXF"},
      {"C:\\DATA\\UNIT.V2\\DAT\\PART", "C:\\DATA\\UNIT.V2\\DAT\\PART.DXF"},
      {"C:\\DATA\\A.B.C", "C:\\DATA\\A.B.DXF"},
      {"/tmp/x.y/name.dxf", "/tmp/x.y/name.DXF"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(DxfOutputPath(in), out) << in;
}

class DxfWriterTest : public FilesTest {
 protected:
  static void Add(int layer, FigureRecord f) {
    f.layer = layer;
    g_curFigure = f;
    g_figureTableSelector = layer;
    ASSERT_TRUE(AppendFigure(0));
  }
  static FigureRecord Line(Vec2 a, Vec2 b, std::int32_t attribute) {
    FigureRecord f;
    f.kind = kKindLine;
    f.start = a;
    f.end = b;
    f.attribute = attribute;
    return f;
  }

  // A drawing on all 32 layers: a line per layer (line types by layer),
  // a clockwise arc and a circle on layer 3 drawn about origin (10, 20), and
  // a Japanese text.
  void MakeDrawing() {
    const std::int32_t types[] = {0, kLineTypeDashed, kLineTypeChain, kLineTypeTwoDotChain};
    for (int layer = 0; layer < kLayerCount; ++layer)
      Add(layer, Line({0, double(layer)}, {50, double(layer)}, (layer % 7 + 1) | types[layer % 4]));
    FigureRecord arc;
    arc.kind = kKindArc;
    arc.origin = {10, 20};
    arc.centre = {0, 0};
    arc.radius = -5;  // clockwise from (5, 0) to (0, 5): the long way round
    arc.start = {5, 0};
    arc.end = {0, 5};
    arc.attribute = 4;
    Add(3, arc);
    FigureRecord circle = arc;
    circle.radius = 2;
    circle.start = circle.end = {2, 0};
    Add(3, circle);
    TextRecord text;
    text.layer = 3;
    text.colour = 6;
    text.size = 3.5f;
    text.angle = 30.0f;
    text.baseX = 1, text.baseY = 2, text.originX = 10, text.originY = 20;
    SetTextRecordText(text, platform::Sjis("表面φ10"));
    AppendTextRecord(text);
  }

  std::vector<std::string> ReadByEzdxf(const fs::path& file) {
    const std::string command = "/usr/bin/python3 " + testsupport::FixturePath("../kelto_dorn/files/read_dxf_export.py").string() +
                                " " + file.string();
    std::vector<std::string> lines;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return lines;
    char buf[1024];
    while (std::fgets(buf, sizeof buf, pipe)) {
      std::string line(buf);
      if (!line.empty() && line.back() == '\n') line.pop_back();
      lines.push_back(line);
    }
    EXPECT_EQ(pclose(pipe), 0) << command;
    return lines;
  }
};

TEST_F(DxfWriterTest, AnotherProgramReadsEveryLayerOnAndTheSameEntities) {
  MakeDrawing();
  g_dxfAllLayers = 1;
  const fs::path file = Home() / "OUT.DXF";
  ASSERT_TRUE(WriteDxfFile(file));
  const std::vector<std::string> lines = ReadByEzdxf(file);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "errors 0");
  std::set<std::string> seen(lines.begin(), lines.end());
  for (int n = 1; n <= kLayerCount; ++n)
    EXPECT_TRUE(seen.count("layer " + std::to_string(n) + " flags 0 frozen 0 locked 0 on 1")) << n;
  EXPECT_TRUE(seen.count("LINE 1 1 CONTINUOUS 0.0000 0.0000 50.0000 0.0000"));
  EXPECT_TRUE(seen.count("LINE 2 2 DASHED2 0.0000 1.0000 50.0000 1.0000"));
  EXPECT_TRUE(seen.count("LINE 3 3 CENTER2 0.0000 2.0000 50.0000 2.0000"));
  EXPECT_TRUE(seen.count("LINE 4 4 PHANTOM2 0.0000 3.0000 50.0000 3.0000"));
  // The clockwise arc from (15, 20) to (10, 25) is the counter-clockwise
  // arc from (10, 25) to (15, 20).
  EXPECT_TRUE(seen.count("ARC 4 4 CONTINUOUS 10.0000 20.0000 5.0000 90.0000 0.0000"));
  EXPECT_TRUE(seen.count("CIRCLE 4 4 CONTINUOUS 10.0000 20.0000 2.0000"));
  EXPECT_TRUE(seen.count("TEXT 4 6 BYLAYER 11.0000 22.0000 3.5000 30.0000 表面φ10"));
  EXPECT_EQ(lines.size(), 1u + kLayerCount + kLayerCount + 3) << "nothing more, nothing less";
}

TEST_F(DxfWriterTest, OnlyTheCurrentLayerWithOneLayerEntry) {
  MakeDrawing();
  g_curLayer = 3;
  g_dxfAllLayers = 0;
  const std::string text = BuildDxfText();
  std::size_t layers = 0;
  for (std::size_t at = text.find("\nLAYER\n"); at != std::string::npos; at = text.find("\nLAYER\n", at + 1)) ++layers;
  EXPECT_EQ(layers, 2u) << "the table head and the one layer";
  EXPECT_NE(text.find("PHANTOM2\n 10"), std::string::npos) << "layer 4's two-dot chain line";
  EXPECT_EQ(text.find("CENTER2\n 10"), std::string::npos) << "no line of layer 3";
}

TEST_F(DxfWriterTest, ReimportGivesTheSameFigures) {
  MakeDrawing();
  g_dxfAllLayers = 1;
  const fs::path file = Home() / "OUT.DXF";
  ASSERT_TRUE(WriteDxfFile(file));
  std::array<std::vector<FigureRecord>, kLayerCount> before;
  for (int l = 0; l < kLayerCount; ++l) before[static_cast<std::size_t>(l)] = Figures(l);
  for (int l = 0; l < kLayerCount; ++l) ClearFigureTable(l);
  g_textRecords[0].layer = -1;
  g_cadByLayer = g_cadByColor = 1;
  g_figureTableSelector = 0;
  std::FILE* f = std::fopen(file.c_str(), "rb");
  const DxfReadOutcome outcome = ReadDxfFile(f, "OUT.DXF");
  std::fclose(f);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  for (int l = 0; l < kLayerCount; ++l) {
    const auto after = Figures(l);
    ASSERT_EQ(after.size(), before[static_cast<std::size_t>(l)].size()) << l;
    for (std::size_t i = 0; i < after.size(); ++i) {
      const FigureRecord& a = before[static_cast<std::size_t>(l)][i];
      const FigureRecord& b = after[i];
      EXPECT_EQ(b.attribute, a.attribute) << l;
      // Positions now absolute (the import's origin is 0, 0).
      const auto absolute = [](const FigureRecord& r, Vec2 p) { return Vec2{p.x + r.origin.x, p.y + r.origin.y}; };
      const Vec2 as = a.radius < 0 ? absolute(a, a.end) : absolute(a, a.start);
      EXPECT_NEAR(b.start.x, as.x, 1e-9);
      EXPECT_NEAR(b.start.y, as.y, 1e-9);
      EXPECT_NEAR(std::fabs(b.radius), std::fabs(a.radius), 1e-9);
    }
  }
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(std::string(texts[0].text), platform::Sjis("表面φ10"));
  EXPECT_EQ(texts[0].layer, 3);
}

TEST_F(DxfWriterTest, AFileThatCannotBeWrittenIsReportedAndLeavesNothing) {
  MakeDrawing();
  const fs::path file = Home() / "missing" / "OUT.DXF";
  EXPECT_FALSE(WriteDxfFile(file));
  EXPECT_FALSE(fs::exists(file));
  ASSERT_EQ(ShownTexts().size(), 1u);
  EXPECT_NE(ShownTexts()[0].find("DXF_FILE"), std::string::npos);
}

}  // namespace
}  // namespace dorn::test
