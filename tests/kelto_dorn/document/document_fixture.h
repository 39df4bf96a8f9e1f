#pragma once
// A fresh program for each test: a temporary program folder, every state
// reset, the figure store started, the headless backend recording boxes and
// dialogs, and one document.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "kelto_dorn/document/document.h"
#include "kelto_dorn/app/figure_record.h"
#include "platform/headless/headless_backend.h"
#include "tests/support/test_support.h"

namespace dorn::test {

// Every state of the program back to before start-up.
void ResetProgramState();

class DocumentTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  platform::headless::HeadlessBackend& backend() { return *backend_; }
  CKelDoc& document() { return *document_; }
  // Texts of the message boxes shown so far, as UTF-8.
  std::vector<std::string> ShownTexts() const;
  // The unit "SAMPLE\PGM\SEG" made under the program folder and the drawing
  // named "TEST" in the system record.
  void PrepareDrawingFolder();

 private:
  platform::headless::HeadlessBackend* backend_ = nullptr;
  std::unique_ptr<CKelDoc> document_;
};

// Figures appended to a table through the store.
FigureRecord MakeLine(double x0, double y0, double x1, double y1, int colour = 2);
FigureRecord MakeArc(double cx, double cy, double r, int colour = 3);
bool Append(int table, FigureRecord figure, int layerForCurves = 0);
// A text stored at record i.
void PutText(int i, int layer, const char* text);

}  // namespace dorn::test
