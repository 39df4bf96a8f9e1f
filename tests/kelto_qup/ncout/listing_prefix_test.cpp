// The listing of start mode 1: the columns in front of each motion block,
// the arc's own line, prefixes that do not fit, and the sequence numbering
// that the extra lines leave unchanged.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"
#include "tests/support/test_support.h"

namespace qup {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ListingPrefixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OutputState& o = ctx.output;
    o.WordFormat = 0x2000 | 0x4000 | 0x0008;  // decimal point, 0.001, sequence words
    o.CodeFormat = 0x0040;                    // absolute
    o.LastPlaneCode = 1;
    o.EffectiveMode = 1;
    o.ListingSwitch = 1;
    o.Feed = 100;
    ctx.RestartBlock();  // the first block opens indented with L0001
  }
  std::vector<std::string> Move(int element, int mode, double x, double y, double z, double radius = 0,
                                double i = 0, double j = 0) {
    OutputState& o = ctx.output;
    NcElement e;
    e.number = element;
    ctx.SetR0(e);
    const std::size_t before = host.listLines.size();
    o.MotionMode = mode;
    o.TargetX = x;
    o.TargetY = y;
    o.TargetZ = z;
    o.ArcRadius = radius;
    o.CentreI = i;
    o.CentreJ = j;
    EXPECT_EQ(ctx.EmitMove(0), 0);
    return {host.listLines.begin() + static_cast<long>(before), host.listLines.end()};
  }
  using Lines = std::vector<std::string>;
  RecordingHost host;
  RunContext ctx{host};
};

TEST_F(ListingPrefixTest, ColumnsInFrontOfTheBlock) {
  struct Case {
    int element;
    double x, y, z;
    Lines lines;
  };
  const std::string none = platform::Sjis("････");
  const Case cases[] = {
      {12, 10, 20, -5, {"0012 X10.       Y20.       Z-5.       L0001G01X10.Y20.Z-5.F100"}},
      // A zero coordinate is shown as a zero word; no element shows dots.
      {0, 0, 20, -5, {none + " X0.        Y20.       Z-5.       L0002X0."}},
      // Exactly 38 columns still fit in front of the block.
      {7, -12345.678, -12345.678, -12345.678,
       {"0007 X-12345.678Y-12345.678Z-12345.678L0003X-12345.678Y-12345.678Z-12345.678"}},
      // One column more: the prefix is a line of its own, the block keeps its blanks.
      {7, -12345.678, -12345.678, -123456.789,
       {"0007 X-12345.678Y-12345.678Z-123456.789", std::string(38, ' ') + "L0004Z-123456.789 "}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Move(c.element, 1, c.x, c.y, c.z), c.lines) << c.element << " " << c.z;
  }
}

TEST_F(ListingPrefixTest, ArcLinesInTheNcFileWithCrLf) {
  testsupport::TempFolder folder;
  const auto path = folder.path() / "O1.NC";
  ASSERT_EQ(ctx.OpenNcOutput(path.string()), 0);
  Move(3, 1, 10, 20, -5);
  // Counter-clockwise half circle about (15, 20): the X/Y/Z columns go on a
  // line of their own, radius and centre stand in front of the block.
  Move(4, 3, 20, 20, -5, 5, 5, 0);
  Move(5, 1, 20, 30, -5);
  ASSERT_EQ(ctx.CloseNcOutput(), 0);
  EXPECT_EQ(ReadFile(path),
            "0003 X10.       Y20.       Z-5.       L0001G01X10.Y20.Z-5.F100\r\n"
            "0004 X20.       Y20.       Z-5.\r\n"
            "     R=5.       C(15. 20.)            L0002G03X20.I5. \r\n"
            "0005 X20.       Y30.       Z-5.       L0003G01Y30.\r\n");
}

TEST_F(ListingPrefixTest, OffWithoutTheListingSwitchOrOutsideStartMode1) {
  ctx.output.ListingSwitch = 0;
  EXPECT_EQ(Move(1, 1, 10, 0, 0), (Lines{std::string(38, ' ') + "L0001G01X10.F100"}));
  ctx.output.ListingSwitch = 1;
  ctx.output.EffectiveMode = 0;
  ctx.RestartBlock();
  EXPECT_EQ(Move(1, 1, 20, 0, 0), (Lines{"L0003X20. "}));
}

}  // namespace
}  // namespace qup
