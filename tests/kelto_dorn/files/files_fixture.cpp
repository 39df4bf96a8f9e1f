#include "tests/kelto_dorn/files/files_fixture.h"

#include <cstdlib>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/files/files_state.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn::test {

void FilesTest::SetUp() {
  home_ = std::make_unique<testsupport::TempFolder>();
  setenv("KELTO_HOME", home_->path().c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home_->path() / ".config").c_str(), 1);
  platform::ResetProgramFolder();
  platform::ResetDataRoot();
  KernelTest::SetUp();
}

void FilesTest::TearDown() {
  KernelTest::TearDown();
  unsetenv("KELTO_HOME");
  platform::ResetProgramFolder();
  platform::ResetDataRoot();
  home_.reset();
}

void SampleFoldersTest::SetUp() {
  FilesTest::SetUp();
  ResetFilesState();
  platform::SetFieldText(g_drawingHeader.unitName, "SAMPLE");
  platform::SetFieldText(g_drawingHeader.secondName, "PGM");
  seg_ = Home() / "SAMPLE" / "PGM" / "SEG";
  dat_ = Home() / "SAMPLE" / "PGM" / "DAT";
  std::filesystem::create_directories(seg_);
  std::filesystem::create_directories(dat_);
}

std::vector<FigureRecord> FilesTest::Figures(int table) {
  std::vector<FigureRecord> figures;
  const FigureTable* t = g_figureStore.Table(table);
  if (t == nullptr) return figures;
  for (int i = 0; i < t->count(); ++i) figures.push_back(t->slot(i));
  return figures;
}

std::vector<TextRecord> FilesTest::Texts() {
  std::vector<TextRecord> texts;
  for (int i = 0; i < TextRecordsInUse(); ++i) texts.push_back(g_textRecords[static_cast<std::size_t>(i)]);
  return texts;
}

}  // namespace dorn::test
