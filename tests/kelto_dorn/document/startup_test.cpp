// Start-up in an empty program folder (the first run), a second start that
// reads what the first wrote, the file-server data root, the exit question
// and the application's small boxes.
#include <cstring>
#include <fstream>
#include <set>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/message_dialog.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/document/system_record.h"
#include "kelto_dorn/document/system_state.h"
#include "platform/application.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "shared/handover/drawing_header.h"
#include "tests/kelto_dorn/document/document_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;

std::set<std::string> TreeOf(const fs::path& root) {
  std::set<std::string> entries;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    const std::string rel = fs::relative(e.path(), root).generic_string();
    if (rel.rfind(".config", 0) == 0) continue;  // the test's settings store
    entries.insert(rel);
  }
  return entries;
}

void WriteBytes(const fs::path& path, const void* data, std::size_t size) {
  std::ofstream f(path, std::ios::binary);
  f.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

class StartupTest : public DocumentTest {};

TEST_F(StartupTest, FirstRunMakesExactlyTheFoldersAndTheFirstRunRecord) {
  ASSERT_EQ(StartupSystem(), 1);
  const std::set<std::string> expected = {"$Kelto20.@@@",   "SAMPLE", "SAMPLE/PGM", "SAMPLE/PGM/DAT",
                                          "SAMPLE/PGM/SEG", "_ANA",   "_ATC",       "_BAK",
                                          "_CPS",           "_DBS",   "_gid"};
  EXPECT_EQ(TreeOf(home()), expected);
  // The data root is the program folder without a file-server record.
  EXPECT_EQ(g_dataFolder, g_programFolder);
  EXPECT_EQ(platform::DataRoot(), platform::ProgramFolder());
  EXPECT_EQ(platform::FieldText(g_drawingHeader.drawingName), "TEST");
  EXPECT_EQ(g_drawingHeader.showAxes, 1);
  EXPECT_EQ(g_drawingHeader.slowFeed, 75);
  EXPECT_EQ(g_versionText, "Kelto_Dorn  Ver 8.52/B ");
  EXPECT_EQ(g_colorTable.axisColor, 23);
  EXPECT_EQ(g_colorTable.curveColor, 6);
  EXPECT_EQ(GetFigureCount(0), 0);
  EXPECT_GE(g_figureStore.Table(0)->capacity(), 1000);
  EXPECT_GE(g_figureStore.Table(kTableCurves)->capacity(), 2000);
  EXPECT_TRUE(ShownTexts().empty());
  // The first-run record holds what memory holds.
  handover::DrawingHeader written;
  ASSERT_TRUE(platform::ReadRecord(home() / "$Kelto20.@@@", written).ok());
  EXPECT_EQ(platform::FieldText(written.unitName), "SAMPLE");
  EXPECT_EQ(platform::FieldText(written.secondName), "PGM");
}

TEST_F(StartupTest, SecondStartReadsTheRecordsBackAndReplacesAZeroSlowFeed) {
  ASSERT_EQ(StartupSystem(), 1);
  platform::SetFieldText(g_drawingHeader.drawingName, "PART7");
  g_drawingHeader.slowFeed = 0;
  g_drawingHeader.programNumber = 1234;
  PaletteColors[5] = 0x123456;
  ASSERT_TRUE(WriteSystemSettings().ok());
  ResetProgramState();
  ASSERT_EQ(StartupSystem(), 1);
  EXPECT_EQ(platform::FieldText(g_drawingHeader.drawingName), "PART7");
  EXPECT_EQ(g_drawingHeader.programNumber, 1234);
  EXPECT_EQ(g_drawingHeader.slowFeed, 75);
  EXPECT_EQ(PaletteColors[5], 0x123456u);
  // Another slow feed is kept.
  g_drawingHeader.slowFeed = 40;
  ASSERT_TRUE(WriteSystemSettings().ok());
  ResetProgramState();
  StartupSystem();
  EXPECT_EQ(g_drawingHeader.slowFeed, 40);
}

TEST_F(StartupTest, StaleBusyWordIsDeletedAtStart) {
  const std::int32_t busy = 0xFFFF;
  WriteBytes(home() / "$NC_EXE.@@@", &busy, sizeof busy);
  StartupSystem();
  EXPECT_FALSE(fs::exists(home() / "$NC_EXE.@@@"));
  EXPECT_EQ(ReadNcExeFlag(), 0);
}

TEST_F(StartupTest, EnabledFileServerRecordMovesTheDataRoot) {
  const fs::path server = home() / "server";
  fs::create_directories(server);
  FileServerSettings s;
  s.enabled = 1;
  platform::SetFieldText(s.serverPath, server.string());
  platform::SetFieldText(s.programFolder, "/somewhere/else");  // never used
  WriteBytes(home() / "$FileServer.@@@", &s, sizeof s);
  StartupSystem();
  EXPECT_EQ(g_dataFolder, server);
  EXPECT_EQ(platform::DataRoot(), server);
  EXPECT_EQ(platform::FieldText(g_fileServerSettings.programFolder), home().string());
  for (const char* name : {"_DBS", "_ATC", "_ANA", "_CPS", "SAMPLE/PGM/SEG"})
    EXPECT_TRUE(fs::is_directory(server / name)) << name;
  for (const char* name : {"_BAK", "_gid"}) EXPECT_TRUE(fs::is_directory(home() / name)) << name;
  EXPECT_FALSE(fs::exists(home() / "_DBS"));
}

TEST_F(StartupTest, DamagedSettingsFilesAreReportedAndDefaultsUsed) {
  const char shortFile[10] = {};
  WriteBytes(home() / "$@@@.@@@", shortFile, sizeof shortFile);
  WriteBytes(home() / "$COLOR.@@@", shortFile, sizeof shortFile);
  StartupSystem();
  EXPECT_EQ(platform::FieldText(g_drawingHeader.unitName), "SAMPLE");
  EXPECT_EQ(g_colorTable.axisColor, 23);
  EXPECT_EQ(ShownTexts().size(), 2u);
}

TEST_F(StartupTest, UnterminatedNamesInTheSystemRecordAreCutAtTheirField) {
  handover::DrawingHeader h = handover::DefaultDrawingHeader();
  std::memset(h.drawingName, 'A', sizeof h.drawingName);
  std::memset(h.unitName, 'B', sizeof h.unitName);
  WriteBytes(home() / "$@@@.@@@", &h, sizeof h);
  StartupSystem();
  EXPECT_EQ(platform::FieldText(g_drawingHeader.drawingName).size(), 63u);
  EXPECT_EQ(platform::FieldText(g_drawingHeader.unitName).size(), 63u);
}

TEST_F(StartupTest, ColourFileWithABackgroundOutsideThePaletteIsRefused) {
  handover::ColorTable c;
  c.backgroundIndex = 40;
  WriteBytes(home() / "$COLOR.@@@", &c, sizeof c);
  StartupSystem();
  EXPECT_EQ(g_colorTable.backgroundIndex, 0);
  EXPECT_EQ(ShownTexts().size(), 1u);
}

// The document's ATC table of a machine whose file cannot be read: said so
// once, and kept from being written.
TEST_F(StartupTest, NewDocumentReportsAnUnreadableAtcTable) {
  fs::copy_file(testsupport::FixturePath("tooldb/DBS_NAME_sample.@@@"), home() / "$DBS_NAME.@@@");
  fs::create_directories(home() / "_ATC" / "MC1");
  const fs::path file = home() / "_ATC" / "MC1" / "$ATC_DBS.@@@";
  fs::create_symlink(file.filename(), file);
  const std::size_t boxes = ShownTexts().size();
  CKelDoc document;
  EXPECT_TRUE(document.atc.ReadFailed());
  ASSERT_EQ(ShownTexts().size(), boxes + 1);
  EXPECT_NE(ShownTexts().back().find("$ATC_DBS.@@@"), std::string::npos) << ShownTexts().back();
}

// The show-at-every-BOX-operation switch (+40) and its neighbours survive a
// start and the write after the style dialog; a missing file gives the
// defaults with the three words cleared.
TEST_F(StartupTest, BoxHoleSettingsSurviveAStartAndAWrite) {
  g_boxHoleSettings.word40 = 5;
  StartupSystem();
  EXPECT_EQ(g_boxHoleSettings.words[1], 1);
  EXPECT_EQ(g_boxHoleSettings.words[4], 1);
  EXPECT_EQ(g_boxHoleSettings.word40, 0);
  g_boxHoleSettings.tolerance = 0.25;
  g_boxHoleSettings.word40 = 1;
  g_boxHoleSettings.word44 = 9;
  ASSERT_TRUE(WriteBoxHoleSettings().ok());
  g_boxHoleSettings = BoxHoleSettings{};
  StartupSystem();
  EXPECT_EQ(g_boxHoleSettings.tolerance, 0.25);
  EXPECT_EQ(g_boxHoleSettings.word40, 1);
  EXPECT_EQ(g_boxHoleSettings.word44, 9);
  ASSERT_TRUE(WriteBoxHoleSettings().ok());
  BoxHoleSettings onDisk;
  ASSERT_TRUE(platform::ReadRecord(home() / "$Box_Ana.@@@", onDisk).ok());
  EXPECT_EQ(onDisk.word40, 1);
}

TEST_F(StartupTest, DialogColourStyles) {
  struct Case {
    int style;
    platform::Color background;
    platform::Color text;
  };
  const Case cases[] = {
      {1, 0x406565, 0xFFFFFF}, {8, 0x809080, 0xFFFFFF}, {12, 0xB05080, 0xFFFFFF}, {0, 0, 0}, {13, 13, 13}};
  for (const Case& c : cases) {
    SetDialogColors(c.style);
    EXPECT_EQ(platform::CurrentDialogColors().background, c.background) << c.style;
    EXPECT_EQ(platform::CurrentDialogColors().text, c.text) << c.style;
  }
}

TEST_F(StartupTest, DrawingSizeBoxCountsTextsFiguresCurvesAndOrigins) {
  StartupSystem();
  Append(0, MakeLine(0, 0, 1, 1));
  Append(0, MakeLine(0, 0, 2, 1));
  Append(31, MakeArc(0, 0, 5));
  Append(kTableCurves, MakeLine(0, 0, 1, 0));
  PutText(0, 0, "A");
  PutText(1, 0, "B");
  const std::string text = platform::Cp932ToUtf8(DrawingSizeText());
  EXPECT_NE(text.find("寸法 = 2\n"), std::string::npos);
  EXPECT_NE(text.find("レイヤー(1) = 2\n"), std::string::npos);
  EXPECT_NE(text.find("レイヤー(32) = 1\n"), std::string::npos);
  EXPECT_NE(text.find("曲線図形 = 1\n原点数 = 1\n"), std::string::npos);
  OnShowDrawingSize();
  ASSERT_EQ(ShownTexts().size(), 1u);
}

TEST_F(StartupTest, AboutBoxShowsTheVersion) {
  StartupSystem();
  std::string shown;
  backend().WhenDialogOpens(kAboutDialogId, [&](platform::headless::DialogDriver& d) {
    shown = d.dialog().GetText(kAboutTextId);
    d.Click(platform::kIdOk);
  });
  EXPECT_EQ(OnAppAbout(), platform::kIdOk);
  EXPECT_EQ(shown, "Kelto_Dorn  Ver 8.52/B ");
  EXPECT_EQ(ModalDepth, 0);
}

class ExitTest : public DocumentTest {
 protected:
  void SetUp() override {
    DocumentTest::SetUp();
    StartupSystem();
    Append(1, MakeLine(0, 0, 10, 0));
  }
  void Answer(int button) {
    backend().WhenDialogOpens(kMessageDialogId, [button, this](platform::headless::DialogDriver& d) {
      caption_ = platform::Cp932ToUtf8(d.dialog().Title());
      text_ = platform::Cp932ToUtf8(d.dialog().GetText(kMessageTextId));
      d.Click(button);
    });
  }
  std::string caption_;
  std::string text_;
};

TEST_F(ExitTest, DecliningLeavesEveryTableAndFileAlone) {
  const auto before = TreeOf(home());
  Answer(platform::kIdCancel);
  EXPECT_EQ(ExitSystem(document()), 1);
  EXPECT_EQ(caption_, "「ケルトドーン」::システムの終了");
  EXPECT_EQ(text_, " 終了しても良いですか ??...");
  EXPECT_EQ(TreeOf(home()), before);
  EXPECT_EQ(GetFigureCount(1), 1);
  EXPECT_EQ(g_exitConfirmed, 0);
  EXPECT_EQ(ModalDepth, 0);
  EXPECT_TRUE(g_messageCaption.empty());
}

TEST_F(ExitTest, ConfirmingSavesReleasesAndWritesBothModeWords99) {
  g_drawingHeader.startMode = 4;
  g_drawingHeader.machiningOrderCount = 12;
  g_drawingHeader.displayListReload = 1;
  Answer(platform::kIdOk);
  EXPECT_EQ(ExitSystem(document()), 0);
  EXPECT_EQ(g_exitConfirmed, 1);
  EXPECT_FALSE(g_figureStore.started());
  EXPECT_TRUE(fs::exists(home() / "SAMPLE/PGM/SEG/TEST.MZF"));
  EXPECT_TRUE(fs::exists(home() / "SAMPLE/PGM/SEG/TEST.KWD"));
  EXPECT_EQ(fs::file_size(home() / "SAMPLE/PGM/SEG/TEST.MZF"), sizeof(FigureRecord));
  handover::DrawingHeader written;
  ASSERT_TRUE(platform::ReadRecord(home() / "$@@@.@@@", written).ok());
  EXPECT_EQ(written.startMode, 99);
  EXPECT_EQ(written.subMode, 99);
  EXPECT_EQ(written.machiningOrderCount, 0);
  EXPECT_EQ(written.displayListReload, 0);
  EXPECT_TRUE(fs::exists(home() / "$COLOR.@@@"));
}

TEST_F(ExitTest, AFailedSaveIsShownAndTheUserMayStay) {
  // The drawing's folder cannot be written into.
  fs::remove_all(home() / "SAMPLE");
  Answer(platform::kIdOk);
  backend().AnswerMessageBox(platform::kIdOk);  // the failure box
  backend().AnswerMessageBox(platform::kIdNo);  // stay
  EXPECT_EQ(ExitSystem(document()), 1);
  EXPECT_EQ(g_exitConfirmed, 0);
  EXPECT_TRUE(g_figureStore.started());
  EXPECT_EQ(GetFigureCount(1), 1);
  EXPECT_FALSE(fs::exists(home() / "$@@@.@@@"));
  ASSERT_EQ(ShownTexts().size(), 2u);
}

TEST_F(ExitTest, AFailedSaveMayStillCloseWhenTheUserSaysSo) {
  fs::remove_all(home() / "SAMPLE");
  Answer(platform::kIdOk);
  backend().AnswerMessageBox(platform::kIdOk);
  backend().AnswerMessageBox(platform::kIdYes);
  EXPECT_EQ(ExitSystem(document()), 0);
  EXPECT_EQ(g_exitConfirmed, 1);
  EXPECT_TRUE(fs::exists(home() / "$@@@.@@@"));
}

}  // namespace
}  // namespace dorn::test
