#pragma once
// A fresh program for each CAM data test: a temporary program folder (also
// the data root), every state reset, the headless backend, the figure store
// started, and the document's ATC table and definition slots. Helpers make a
// drawing by hand: curves of points or lines, hole definitions, the order.
#include <memory>
#include <string>
#include <vector>

#include "kelto_dorn/camdata/cam_builder.h"
#include "kelto_dorn/camdata/cam_services.h"
#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/machining/finish_pass_settings.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "platform/headless/headless_backend.h"
#include "tests/support/test_support.h"

namespace dorn::test {

struct Point {
  double x, y;
};

// A hole definition's values, as its dialog would leave them.
struct HoleDefinition {
  std::int32_t number = 10000;
  std::int32_t kind = 0xB400;
  std::int32_t curveKey = 501;
  std::int32_t post = 1;
  std::int32_t workCoordinate = 0;
  std::int32_t returnLevel = 0;  // 0 G98, 1 G99
  double atcOriginX = 0.0, atcOriginY = 0.0, zOrigin = 50.0;
  double iPoint = 10.0, rPoint = 2.0;
  double surfaceZ = 0.0, bottom = -10.0;
  std::int32_t atc = 5, outputT = 0, cycle = 81, spindle = 1200;
  float diameter = 8.5f, feed = 100.0f, peck = 0.0f, dwell = 0.0f, tipLength = 3.0f;
  std::int32_t repeat = 0;
  const char* name = "穴加工_10000";
};

class CamDataTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  platform::headless::HeadlessBackend& backend() { return *backend_; }
  // Texts of the message boxes shown so far, as UTF-8.
  std::vector<std::string> ShownTexts() const;

  // A curve of kind `kind` made of point figures (kind 1 is a hole group).
  void AddPointCurve(std::int32_t key, const std::vector<Point>& points, std::int32_t kind = 1,
                     const char* name = "HOLES");
  // A curve of lines through the points.
  void AddLineCurve(std::int32_t key, const std::vector<Point>& points, std::int32_t kind = 0,
                    const char* name = "LINES");
  // Stores a definition in the next slot with its index record; returns the slot.
  int StoreDefinition(const MachiningDefinition& d, const char* nameUtf8);
  int AddHoleDefinition(const HoleDefinition& h);
  // The working definition of a hole, not stored.
  MachiningDefinition MakeHoleDefinition(const HoleDefinition& h) const;
  // Orders every item in table order (the order dialog's "登 録" without
  // numbering).
  void OrderAllItems();

  // Runs a build and keeps the builder for its records.
  CamBuildResult Build(int pitInClassification = 1);
  CamServices Services();

  std::unique_ptr<DocAtcTable> atc_;
  std::unique_ptr<DefinitionSlots> slots_;
  FinishPassSettings finishPass_{};
  std::unique_ptr<CCamDataBuilder> builder_;

 private:
  platform::headless::HeadlessBackend* backend_ = nullptr;
};

// The records of the stream with that code, in order.
std::vector<handover::NcElement> WithCode(const std::vector<handover::NcElement>& elements, std::int32_t code);
// The codes of the stream, in order.
std::vector<std::int32_t> Codes(const std::vector<handover::NcElement>& elements);

}  // namespace dorn::test
