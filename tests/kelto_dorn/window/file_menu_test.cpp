// The File menu: new drawing, the drawing list after a failed save, the
// network import and the CAD import.
#include <fstream>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/file_menu.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/kelto_dorn/window/window_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;

class FileMenuTest : public WindowTest {
 protected:
  fs::path Seg() const { return home() / "SAMPLE" / "PGM" / "SEG"; }
};

struct PathCase {
  const char* chosen;
  const char* expected;
};

TEST(DrawingPathWithoutExtension, CutsAtTheFileNamesFirstDot) {
  const PathCase cases[] = {
      {"/net/share.v2/PART.MZF", "/net/share.v2/PART"},
      {"/net/share.v2/PART.MZF.bak", "/net/share.v2/PART"},
      {"share.v2\\sub.x\\PART.KWD", "share.v2/sub.x/PART"},
      {"/net/PART", "/net/PART"},
      {"/net/.MZF", ""},
  };
  for (const PathCase& c : cases) EXPECT_EQ(DrawingPathWithoutExtension(c.chosen), fs::path(c.expected)) << c.chosen;
}

TEST_F(FileMenuTest, NewSavesFirstAndADeclinedQuestionKeepsTheDrawing) {
  StartWithFixtureDrawing();
  fs::remove(Seg() / "TEST.MZF");
  backend().WhenDialogOpens(193, [](platform::headless::DialogDriver& d) { d.Click(2); });
  backend().WhenDialogOpens(293, [](platform::headless::DialogDriver& d) { d.PressEscape(); });
  ASSERT_TRUE(frame().Invoke(cmd::kFileNew));
  EXPECT_TRUE(fs::exists(Seg() / "TEST.MZF"));
  EXPECT_EQ(GetFigureCount(0), 3);
  // The work settings always follow.
  ASSERT_EQ(backend().DialogsOpened().size(), 2u);
  EXPECT_EQ(backend().DialogsOpened()[1], 293);
}

// 上書き保存 says in the title that it saved, and where; a save that could
// not be made claims nothing.
TEST_F(FileMenuTest, SaveSaysInTheTitleWhereTheDrawingWent) {
  StartWithFixtureDrawing();
  fs::remove(Seg() / "TEST.MZF");
  ASSERT_TRUE(frame().Invoke(cmd::kFileSave));
  EXPECT_TRUE(fs::exists(Seg() / "TEST.MZF"));
  const std::string title = platform::Cp932ToUtf8(frame().Title());
  EXPECT_NE(title.find("図面を保存しました : SAMPLE\\PGM\\TEST"), std::string::npos) << title;
  EXPECT_TRUE(ShownTexts().empty());

  // The drawing's folder taken away: the failure is shown, the title does
  // not say it saved.
  frame().SetTitle("");
  fs::remove_all(Seg());
  std::ofstream(Seg()) << "not a folder";
  ASSERT_TRUE(frame().Invoke(cmd::kFileSave));
  EXPECT_EQ(platform::Cp932ToUtf8(frame().Title()).find("保存しました"), std::string::npos);
  EXPECT_FALSE(ShownTexts().empty());
}

TEST_F(FileMenuTest, NewAnsweredOkEmptiesTheDrawing) {
  StartWithFixtureDrawing();
  backend().WhenDialogOpens(193, [](platform::headless::DialogDriver& d) { d.Click(1); });
  backend().WhenDialogOpens(293, [](platform::headless::DialogDriver& d) { d.PressEscape(); });
  ASSERT_TRUE(frame().Invoke(cmd::kFileNew));
  EXPECT_EQ(GetFigureCount(0), 0);
  EXPECT_EQ(GetFigureCount(1), 0);
}

TEST_F(FileMenuTest, TheDrawingListDoesNotLoadOverADrawingThatWasNotSaved) {
  StartWithFixtureDrawing();
  int listed = 0;
  g_commandEngines.drawingFileListDialog = [&listed] {
    ++listed;
    return 1;
  };
  // A drawing without a name cannot be saved.
  platform::SetFieldText(g_drawingHeader.drawingName, "");
  UpdateAllCommands();
  ASSERT_TRUE(frame().Invoke(cmd::kFileNameList));
  EXPECT_EQ(listed, 0);
  EXPECT_EQ(GetFigureCount(0), 3);
  EXPECT_FALSE(ShownTexts().empty());
  // Saved, the list runs and the named drawing is loaded.
  platform::SetFieldText(g_drawingHeader.drawingName, "TEST");
  ASSERT_TRUE(frame().Invoke(cmd::kFileNameList));
  EXPECT_EQ(listed, 1);
  EXPECT_EQ(GetFigureCount(0), 3);
}

TEST_F(FileMenuTest, TheNetworkImportTakesADrawingFromADottedFolder) {
  StartWithFixtureDrawing();
  const fs::path share = home() / "share.v2";
  fs::create_directories(share);
  fs::copy_file(Seg() / "TEST.MZF", share / "OTHER.MZF");
  fs::copy_file(Seg() / "TEST.KWD", share / "OTHER.KWD");
  g_commandEngines.importSelectDialog = [] { return 0x01; };  // keep the layer figures
  backend().AnswerMessageBox(platform::kIdYes);               // discard what is there
  backend().AnswerFileChooser(platform::SystemName(share / "OTHER.MZF"));
  UpdateAllCommands();
  ASSERT_TRUE(frame().Invoke(cmd::kImportNetworkDrawing));
  EXPECT_EQ(GetFigureCount(0), 3);
  EXPECT_EQ(GetFigureCount(1), 1);
  EXPECT_EQ(g_curLayer, 0);
}

TEST_F(FileMenuTest, TheNetworkImportOverAnEmptyDrawingAsksNothing) {
  Start();
  g_commandEngines.importSelectDialog = [] { return 0; };
  backend().AnswerFileChooser(std::nullopt);
  UpdateAllCommands();
  ASSERT_TRUE(frame().Invoke(cmd::kImportNetworkDrawing));
  EXPECT_TRUE(backend().MessageBoxes().empty());
  ASSERT_EQ(backend().FileChooserRequests().size(), 1u);
}

TEST_F(FileMenuTest, TheCadImportOpensTheFileBeforeItEmptiesTheLayer) {
  StartWithFixtureDrawing();
  fs::path file = home() / "missing.dxf";
  int read = 0;
  g_commandEngines.cadFileListDialog = [&file](CadFileChoice& c) {
    c.file = file;
    c.kind = 2;
    c.scale = 40;  // outside 1..19
    return 1;
  };
  g_commandEngines.readCadFile = [&read](int kind, const fs::path&) {
    EXPECT_EQ(kind, 2);
    ++read;
    return true;
  };
  UpdateAllCommands();
  ASSERT_TRUE(frame().Invoke(cmd::kImportCadFile));
  EXPECT_EQ(read, 0);
  EXPECT_EQ(GetFigureCount(0), 3);
  ASSERT_FALSE(ShownTexts().empty());
  EXPECT_NE(ShownTexts().back().find("missing.dxf"), std::string::npos);
  // A file that opens: the layer is emptied and the reader runs.
  file = home() / "part.dxf";
  std::ofstream(file) << "0\nEOF\n";
  ASSERT_TRUE(frame().Invoke(cmd::kImportCadFile));
  EXPECT_EQ(read, 1);
  EXPECT_EQ(GetFigureCount(0), 0);
}

// The CAD list may browse another unit to find the file; the drawing being
// worked on stays in its own folder afterwards, so the next save cannot land
// on a drawing of the same name in the unit that was browsed.
TEST_F(FileMenuTest, TheCadImportReadsFromAnotherUnitAndLeavesTheDrawingInItsOwn) {
  StartWithFixtureDrawing();
  const std::string unitBefore = platform::FieldText(g_drawingHeader.unitName);
  const fs::path file = home() / "OTHER" / "PGM" / "DAT" / "part.dxf";
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "0\nEOF\n";
  fs::path readFrom;
  g_commandEngines.cadFileListDialog = [&file](CadFileChoice& c) {
    platform::SetFieldText(g_drawingHeader.unitName, "OTHER");  // as the unit combo does
    c.file = file;
    c.kind = 2;
    return 1;
  };
  g_commandEngines.readCadFile = [&readFrom](int, const fs::path& path) {
    readFrom = path;
    EXPECT_EQ(platform::FieldText(g_drawingHeader.unitName), "OTHER");
    return true;
  };
  UpdateAllCommands();
  ASSERT_TRUE(frame().Invoke(cmd::kImportCadFile));
  EXPECT_EQ(readFrom, file);
  EXPECT_EQ(platform::FieldText(g_drawingHeader.unitName), unitBefore);
}

}  // namespace
}  // namespace dorn::test
