#pragma once
// A fresh program for each definition test: a temporary program folder (also
// the data root), every state reset, the headless backend, the figure store,
// one document with a machine "MC1" whose ATC table the test writes, the
// machining commands installed, and the prompts and ended picks recorded.
#include <memory>
#include <string>
#include <vector>

#include "kelto_dorn/document/document.h"
#include "kelto_dorn/tooldb/atc_record.h"
#include "platform/headless/headless_backend.h"
#include "tests/support/test_support.h"

namespace dorn::test {

struct Point2 {
  double x, y;
};

// One ATC row of the test machine.
struct AtcRow {
  const char* toolName;
  const char* secName;
  float diameter;
  float cornerRadius = 0.0f;
  float tipAngle = 0.0f;
  float tipLength = 0.0f;
  std::int16_t dCode = 0;
  std::int32_t cannedCycle = 0;
  std::int32_t spindle = 1000;
  float feed = 200.0f;
};

class DefinitionFlowTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  platform::headless::HeadlessBackend& backend() { return *backend_; }
  CKelDoc& document() { return *document_; }
  std::vector<std::string> ShownTexts() const;

  // A registered curve of lines through the points; returns its index.
  int AddLineCurve(std::int32_t key, const std::vector<Point2>& points, double topZ = 0.0, int colour = 4);
  // Writes the machine's table (row i is ATC number i + 1) and makes it the
  // current machine.
  void WriteMachine(const std::vector<AtcRow>& rows);

  // The view's pick handler: a click on curve `index`, or the click that
  // ends the picks.
  void PickCurve(int index);
  void EndPicks();

  // Orders every machining item of the document in table order, the order
  // list in force, as the CAM data builder then takes them.
  void OrderAllItems();

  std::vector<int> prompts_;
  std::vector<int> endedPicks_;

 private:
  platform::headless::HeadlessBackend* backend_ = nullptr;
  std::unique_ptr<CKelDoc> document_;
};

}  // namespace dorn::test
