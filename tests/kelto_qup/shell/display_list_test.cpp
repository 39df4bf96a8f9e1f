// The document's display list and "$CG_DATA.LST".
#include <gtest/gtest.h>

#include "kelto_qup/shell/qup_doc.h"
#include "shared/handover/display_record.h"
#include "tests/kelto_qup/shell/shell_fixture.h"

namespace qup::shell::test {
namespace {

TEST_F(ShellTest, WholeRecordsOfTheDisplayListFileAreLoadedAndAShortTailIsIgnored) {
  const fs::path file = home() / handover::kDisplayListFileName;
  struct Case {
    std::size_t bytes;
    std::size_t records;
  } cases[] = {{64, 2}, {70, 2}, {31, 0}, {0, 0}};
  for (const Case& k : cases) {
    WriteFile(file, std::string(k.bytes, '\0'));
    CQupDoc doc;
    EXPECT_TRUE(doc.LoadDisplayList(file).empty()) << k.bytes;
    EXPECT_EQ(doc.Records().size(), k.records) << k.bytes;
  }
  CQupDoc doc;
  EXPECT_TRUE(doc.LoadDisplayList(home() / "missing.LST").empty()) << "a missing file loads nothing";
  EXPECT_TRUE(doc.Records().empty());
}

TEST_F(ShellTest, SavingWithColourOffsetThreeMovesEveryPathOnEachTime) {
  CQupDoc doc;
  for (std::uint16_t colour : {2, 0x8000 | 5}) {
    handover::CDisplayRecord r;
    r.kind = 1;
    r.colorWord = colour;
    doc.AddDisplayRecord(r);
  }
  const fs::path file = home() / handover::kDisplayListFileName;
  ASSERT_TRUE(doc.SaveDisplayList(file, 3).empty());
  CQupDoc reloaded;
  ASSERT_TRUE(reloaded.LoadDisplayList(file).empty());
  ASSERT_EQ(reloaded.Records().size(), 2u);
  EXPECT_EQ(reloaded.Records()[0].colorWord, 5);
  EXPECT_EQ(reloaded.Records()[1].colorWord, 0x8000 | 8);
  ASSERT_TRUE(reloaded.SaveDisplayList(file, 3).empty());
  CQupDoc again;
  ASSERT_TRUE(again.LoadDisplayList(file).empty());
  EXPECT_EQ(again.Records()[0].colorWord, 8);
  EXPECT_EQ(again.Records()[1].colorWord, 0x8000 | 11);
}

TEST_F(ShellTest, AToolChangeBetweenTwoCuttingMovesYieldsAColourChangeRecord) {
  CQupDoc doc;
  DrawnMove first;
  first.x = 10.0;
  first.tool = 3;
  first.traceRadius = 4.0;
  doc.RecordDrawnSegment(1, first);
  DrawnMove second = first;
  second.x = 20.0;
  second.y = 5.0;
  second.tool = 7;
  second.side = 2;
  doc.RecordDrawnSegment(1, second);
  const auto& r = doc.Records();
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0].colorWord, 3);
  EXPECT_EQ(r[0].radius, 4.0f);
  EXPECT_EQ(r[1].kind, 0);
  EXPECT_EQ(r[1].x, 10.0f) << "at the first move's end point";
  EXPECT_EQ(r[1].colorWord, 0x4000 | 7);
  EXPECT_EQ(r[2].kind, 1);
  EXPECT_EQ(r[2].x, 20.0f);
  EXPECT_EQ(r[2].colorWord, 0x4000 | 7);
  // A rapid in yet another tool changes no colour first; no-trace stores radius 0.
  DrawnMove rapid = second;
  rapid.tool = 9;
  rapid.noTrace = true;
  doc.RecordDrawnSegment(-1, rapid);
  EXPECT_EQ(r.size(), 4u);
  EXPECT_EQ(r[3].radius, 0.0f);
  EXPECT_TRUE(doc.IsModified());
}

}  // namespace
}  // namespace qup::shell::test
