// The file lists driven headless: the CAD file list in its DXF output mode,
// the delete execution of the file list with its picks, and the names of
// the drawing file list.
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/files/dialogs/cad_file_list_dialog.h"
#include "kelto_dorn/files/dialogs/file_list_dialog.h"
#include "kelto_dorn/files/drawing_folders.h"
#include "kelto_dorn/files/drawing_names.h"
#include "kelto_dorn/files/files_state.h"
#include "platform/headless/dialog_driver.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/kelto_dorn/files/files_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;
using platform::headless::DialogDriver;

class FileListsTest : public SampleFoldersTest {};

TEST_F(FileListsTest, DxfOutputModeTakesATypedNewName) {
  ImportFileKind = 0x8002;
  backend().WhenDialogOpens(kCadFileListDialogId, [](DialogDriver& d) {
    d.Focus(cad_list::kName);
    d.Type(cad_list::kName, "NEWPART");
    d.PressEnter();
  });
  EXPECT_EQ(CCadFileListDlg().DoModal(), platform::kIdOk);
  EXPECT_EQ(std::string(g_pathBuffer), platform::SystemName(Home()) + "\\SAMPLE\\PGM\\DAT\\NEWPART");
  backend().WhenDialogOpens(kCadFileListDialogId, [](DialogDriver& d) {
    d.Focus(cad_list::kName);
    d.Type(cad_list::kName, "..\\..\\X");
    d.PressEnter();
    EXPECT_FALSE(d.dialog().HasEnded()) << "a name that leaves its folder";
    d.PressEscape();
  });
  EXPECT_EQ(CCadFileListDlg().DoModal(), platform::kIdCancel);
}

TEST_F(FileListsTest, DeletingPicksInPickOrderAndRestoringThroughTheList) {
  for (const char* name : {"A", "B", "C"}) std::ofstream(seg_ / (std::string(name) + ".MZF")) << name;
  g_deleteMode = 1;
  backend().WhenDialogOpens(kFileListDialogId, [](DialogDriver& d) {
    ASSERT_EQ(d.dialog().GetCount(file_list::kList), 3);
    d.ToggleSelection(file_list::kList, 2);  // C
    d.ToggleSelection(file_list::kList, 0);  // A
    d.ToggleSelection(file_list::kList, 1);  // B ...
    d.ToggleSelection(file_list::kList, 1);  // ... and B again: not picked
    EXPECT_EQ(g_pickedItemCount, 2);
    EXPECT_EQ(g_pickedItems[0], 2);
    EXPECT_EQ(g_pickedItems[1], 0);
    d.Click(file_list::kRun);
    EXPECT_EQ(g_deleteMode, 1) << "the next deletion asks again";
    EXPECT_EQ(d.dialog().GetCount(file_list::kList), 1);
    d.Click(file_list::kRestore);
    EXPECT_EQ(d.dialog().GetCount(file_list::kList), 3);
    d.PressEscape();
  });
  CFileListDlg().DoModal();
  const auto& boxes = backend().MessageBoxes();
  ASSERT_GE(boxes.size(), 1u);
  const std::string& question = boxes[0].request.text;
  EXPECT_LT(question.find("C\n"), question.find("A\n")) << "the question lists the picks in pick order";
  EXPECT_TRUE(fs::exists(seg_ / "A.MZF"));
  EXPECT_TRUE(fs::exists(seg_ / "C.MZF"));
}

TEST_F(FileListsTest, NamesStopAtTheirMarksButKeepTwoByteCharacters) {
  const std::pair<std::string, std::string> cases[] = {
      {"AB.C", "AB"}, {platform::Sjis("図表"), platform::Sjis("図表")}, {"A  B", "A"}, {"X*Y", "X"}, {"P:Q", "P"}};
  for (const auto& [typed, kept] : cases) EXPECT_EQ(FilterDrawingName(typed, 62), kept) << platform::Cp932ToUtf8(typed);

  // A list name stops at "." and at a tab or NUL too, loses its trailing
  // blanks, and is never cut inside a two-byte character.
  struct ListCase {
    std::string text;
    std::size_t limit;
    std::string kept;
  };
  const ListCase listCases[] = {{"AB.C", 52, "AB"},
                                {std::string("AB\tC", 4), 52, "AB"},
                                {std::string("AB\0C", 4), 52, "AB"},
                                {"AB   ", 52, "AB"},
                                {"A B ", 52, "A B"},
                                {platform::Sjis("表.X"), 52, platform::Sjis("表")},
                                {"A" + platform::Sjis("表"), 2, "A"}};
  for (const ListCase& c : listCases) EXPECT_EQ(CutListName(c.text, c.limit), c.kept) << c.text;
}

TEST_F(FileListsTest, TheNamedDrawingsHeaderKeepsTheNames) {
  handover::DrawingHeader stored;
  platform::SetFieldText(stored.drawingName, "OTHER");
  platform::SetFieldText(stored.designerName, "YAMADA");
  stored.programNumber = 1234;
  std::ofstream(seg_ / "PART.KWD", std::ios::binary).write(reinterpret_cast<const char*>(&stored), sizeof stored);
  platform::SetFieldText(g_drawingHeader.drawingName, "PART");
  ASSERT_TRUE(ReadDrawingHeaderOfFile());
  EXPECT_EQ(platform::FieldText(g_drawingHeader.drawingName), "PART");
  EXPECT_EQ(platform::FieldText(g_drawingHeader.unitName), "SAMPLE");
  EXPECT_EQ(platform::FieldText(g_drawingHeader.designerName), "YAMADA");
  EXPECT_EQ(g_drawingHeader.programNumber, 1234);
  platform::SetFieldText(g_drawingHeader.secondName, "");
  EXPECT_FALSE(ReadDrawingHeaderOfFile());

  std::ofstream(dat_ / "X.NC") << "x";
  DeleteDrawingFolder(Home() / "SAMPLE" / "PGM");
  EXPECT_FALSE(fs::exists(Home() / "SAMPLE" / "PGM"));
}

}  // namespace
}  // namespace dorn::test
