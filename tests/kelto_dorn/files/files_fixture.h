#pragma once
// A fresh kernel with a temporary program folder for the file management
// and CAD exchange tests, and the figures and texts of the drawing as plain
// lists for comparison.
#include <memory>
#include <string>
#include <vector>

#include "kelto_dorn/app/figure_record.h"
#include "kelto_dorn/app/text_record.h"
#include "tests/kelto_dorn/app/kernel_fixture.h"
#include "tests/support/test_support.h"

namespace dorn::test {

class FilesTest : public KernelTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  const std::filesystem::path& Home() const { return home_->path(); }

  // Every figure of table `table`.
  static std::vector<FigureRecord> Figures(int table);
  // Every text of the text list.
  static std::vector<TextRecord> Texts();

 private:
  std::unique_ptr<testsupport::TempFolder> home_;
};

// The drawing in the unit SAMPLE, second name PGM, with its drawing (SEG)
// and data (DAT) folders made in the program folder and the file
// management state reset.
class SampleFoldersTest : public FilesTest {
 protected:
  void SetUp() override;

  std::filesystem::path seg_, dat_;
};

}  // namespace dorn::test
