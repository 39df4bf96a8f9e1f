// The companion's hole tests describe their jobs with the test-side
// HandoverBuilder. Each hole kind here is made twice from the same values:
// once as a drawing's hole definition through CreateCamData, once through
// the HandoverBuilder; every field the companion can read from the hole
// process's records must come out the same, so that those tests feed the
// companion what the CAM writer really sends.
#include <cctype>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "platform/text.h"
#include "tests/kelto_dorn/camdata/cam_fixture.h"
#include "tests/kelto_qup/support/handover_builder.h"

namespace dorn::test {
namespace {

using handover::NcElement;

// One hole process, in the terms both sides share.
struct HoleKind {
  const char* name;
  std::int32_t kind;  // the drawing's definition kind
  std::int32_t code;  // the hole command it writes
  int cycle = 81;     // deep hole: the high-speed spindle speed
  int mCode = 0;      // deep hole: the high-speed feed
  int hCode = 0;
  int returnLevel = 0;
  float peck = 0.0f;   // deep hole: the top cut
  float pCode = 0.0f;  // deep hole: the high-speed cut; helical: inclination
  float tipAngle = 118.0f;
  float cornerRadius = 0.0f;
  double holeDiameter = 0.0;  // chamfer: the hole it goes round; helical: the hole
  double downFeed = 0.0;
  double approachFeed = 0.0;
  double descent = 0.0;  // helical: per turn
  double taper = 0.0;    // helical: degrees
  double stock80 = 0.0;
  double referenceZ = 0.0;
  int compensation = 0;
};

const HoleKind kKinds[] = {
    {.name = "peck drilling",
     .kind = 0xB400,
     .code = 0x6800,
     .cycle = 83,
     .hCode = 7,
     .returnLevel = 1,
     .peck = 2.5f,
     .pCode = 0.5f},
    {.name = "chamfer round a hole",
     .kind = 0xB400,
     .code = 0x6800,
     .tipAngle = 90.0f,
     .holeDiameter = 20.0,
     .downFeed = 30.0,
     .approachFeed = 50.0},
    {.name = "helical",
     .kind = 0xB800,
     .code = 0x6B00,
     .pCode = 1.0f,
     .cornerRadius = 0.5f,
     .holeDiameter = 20.0,
     .descent = 4.0,
     .taper = 5.0,
     .stock80 = 0.2,
     .referenceZ = -3.0,
     .compensation = 1},
    {.name = "deep hole", .kind = 0xBC00, .code = 0x6C00, .cycle = 3000, .mCode = 200, .peck = 3.0f, .pCode = 4.0f},
};

constexpr double kSurfaceZ = 0.0;
constexpr double kBottom = -10.0;
const std::vector<Point> kPoints = {{10.0, 15.0}, {30.0, 15.0}};

class HoleHandoverBuilderTest : public CamDataTest, public ::testing::WithParamInterface<HoleKind> {
 protected:
  // The drawing's definition of the kind through CreateCamData.
  void BuildDrawing(const HoleKind& k) {
    AddPointCurve(501, kPoints);
    HoleDefinition h;
    h.atcOriginX = 5.0;
    h.atcOriginY = 6.0;
    h.iPoint = 10.0;
    h.surfaceZ = kSurfaceZ;
    h.bottom = kBottom;
    h.returnLevel = k.returnLevel;
    h.cycle = k.cycle;
    h.peck = k.peck;
    h.dwell = k.pCode;
    MachiningDefinition d = MakeHoleDefinition(h);
    d.kind = k.kind;
    AtcRecord& t = d.stepTools[0];
    t.mCode = k.mCode;
    t.hCode = static_cast<std::int16_t>(k.hCode);
    t.tipAngle = k.tipAngle;
    t.cornerRadius = k.cornerRadius;
    StepCondition& c = d.steps[0];
    c.chamferSize = k.holeDiameter;
    c.downFeed = k.downFeed;
    c.feedCode = k.approachFeed;
    c.bottomZStock = k.descent;
    c.chamferTipDiameter = k.taper;
    c.contourStock = k.stock80;
    c.areaCutValue = k.referenceZ;
    c.compensationOn = k.compensation;
    StoreDefinition(d, "HOLE");
    OrderAllItems();
    const CamBuildResult built = Build();
    ASSERT_TRUE(built.written) << platform::Cp932ToUtf8(built.failure);
    ASSERT_TRUE(built.skipped.empty()) << platform::Cp932ToUtf8(built.skipped.front());
  }

  // The same process through the test builder.
  static testsupport::HandoverBuilder BuildTestJob(const HoleKind& k) {
    testsupport::HoleProcess p;
    p.code = k.code;
    p.definition.atcX = 5.0;
    p.definition.atcY = 6.0;
    p.definition.atcZ = 50.0;
    p.definition.iPoint = 10.0;
    p.definition.rPoint = 2.0;
    p.definition.returnLevel = k.returnLevel;
    p.step.surfaceZ = kSurfaceZ;
    p.step.depth = kBottom;
    p.step.referenceZ = k.referenceZ;
    p.step.value80 = k.stock80;
    p.step.value88 = k.descent;
    p.step.taperAngle = k.taper;
    p.step.holeDiameter = k.holeDiameter;
    p.step.downFeed = k.downFeed;
    p.step.approachFeed = k.approachFeed;
    p.step.compensation = k.compensation;
    p.tool.atcNumber = 5;
    p.tool.spindleSpeed = 1200;
    p.tool.cannedCycle = k.cycle;
    p.tool.mCode = k.mCode;
    p.tool.hCode = k.hCode;
    p.tool.diameter = 8.5;
    p.tool.cornerRadius = k.cornerRadius;
    p.tool.tipAngle = k.tipAngle;
    p.tool.tipLength = 3.0;
    p.tool.feed = 100.0;
    p.tool.peckDepth = k.peck;
    p.tool.pCode = k.pCode;
    testsupport::HandoverBuilder job;
    job.Begin();
    for (const Point& point : kPoints) job.Point(501, point.x, point.y);
    job.BeginHoleProcess(400, p);
    job.HoleCutIn(401, p);
    job.Hole(402, 501, p);
    job.ProcessEnd(500);
    job.End();
    return job;
  }
};

// The records of a code, in order.
std::vector<NcElement> Records(const std::vector<NcElement>& elements, std::int32_t code) {
  return WithCode(elements, code);
}

void ExpectSameRecord(const std::vector<NcElement>& cam, const std::vector<NcElement>& test, std::int32_t code) {
  const std::vector<NcElement> a = Records(cam, code);
  const std::vector<NcElement> b = Records(test, code);
  ASSERT_EQ(a.size(), b.size()) << "records of code " << code;
  for (std::size_t i = 0; i < a.size(); ++i) {
    SCOPED_TRACE("record code " + std::to_string(code));
    EXPECT_EQ(a[i].flags, b[i].flags) << "flags";
    EXPECT_EQ(a[i].int1, b[i].int1) << "int1";
    EXPECT_EQ(a[i].int2, b[i].int2) << "int2";
    EXPECT_EQ(a[i].int3, b[i].int3) << "int3";
    const auto da = a[i].DoubleValues();
    const auto db = b[i].DoubleValues();
    for (std::size_t f = 0; f < da.size(); ++f) EXPECT_DOUBLE_EQ(da[f], db[f]) << "d" << f;
  }
}

TEST_P(HoleHandoverBuilderTest, GivesTheFieldsTheCamWriterGives) {
  const HoleKind& k = GetParam();
  {
    BuildDrawing(k);
    if (HasFatalFailure()) return;
    const std::vector<NcElement>& cam = builder_->Elements();
    const testsupport::HandoverBuilder job = BuildTestJob(k);
    // The hole command, the cut-in with the start level and the H code, the
    // process start, the helix of a helical hole and the data format switch
    // (drilling only).
    for (std::int32_t code : {k.code, 0x7300, 0x6110, 0x7B00, 0x9F00}) ExpectSameRecord(cam, job.elements, code);
    // The tool map record as far as the hole output reads it.
    ASSERT_EQ(builder_->ToolMap().size(), 1u);
    ASSERT_EQ(job.toolMap.size(), 1u);
    const handover::ToolMapRecord& a = builder_->ToolMap()[0];
    const handover::ToolMapRecord& b = job.toolMap[0];
    EXPECT_EQ(a.atcNumber, b.atcNumber);
    EXPECT_EQ(a.spindleSpeed, b.spindleSpeed);
    EXPECT_EQ(a.cannedCycle, b.cannedCycle);
    EXPECT_EQ(a.mCode, b.mCode);
    EXPECT_EQ(a.tapTwice, b.tapTwice);
    EXPECT_EQ(a.hCode, b.hCode);
    EXPECT_EQ(a.compensationWord, b.compensationWord);
    EXPECT_EQ(a.diameter, b.diameter);
    EXPECT_EQ(a.cornerRadius, b.cornerRadius);
    EXPECT_EQ(a.tipAngle, b.tipAngle);
    EXPECT_EQ(a.tipLength, b.tipLength);
    EXPECT_EQ(a.feed, b.feed);
    EXPECT_EQ(a.peckDepth, b.peckDepth);
    EXPECT_EQ(a.pCode, b.pCode);
    EXPECT_EQ(a.machiningKind, b.machiningKind);
    EXPECT_EQ(a.originZ, b.originZ);
    EXPECT_EQ(a.holeIPointZ, b.holeIPointZ);
    EXPECT_EQ(a.holeRPointZ, b.holeRPointZ);
    EXPECT_EQ(a.stepDepth, b.stepDepth);
    EXPECT_EQ(a.stepValue48, b.stepValue48);
  }
}

INSTANTIATE_TEST_SUITE_P(HoleKinds, HoleHandoverBuilderTest, ::testing::ValuesIn(kKinds),
                         [](const ::testing::TestParamInfo<HoleKind>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) {
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace dorn::test
