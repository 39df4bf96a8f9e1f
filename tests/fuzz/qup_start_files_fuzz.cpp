// The companion's start files, fuzzed one at a time (the first byte picks
// which): the system record, colours, centring table, machining defaults and
// times, the editor's names, the drawing's tool comments, the pane files
// ("$LIB.@@@", "$CG_WINDW.@@@", "$CGM.@@@") and the display list, which is
// then replayed into the panes with their decorations, as the first paint of
// a reloaded view does, and the window placement "$RECT.@@@", from which the
// main frame takes its place and its tool bars' sides. A damaged file is
// named and gives its defaults.
#include <cstdint>
#include <iterator>
#include <memory>
#include <span>
#include <vector>

#include "kelto_qup/shell/display_window.h"
#include "kelto_qup/shell/main_frame.h"
#include "kelto_qup/shell/qup_app.h"
#include "kelto_qup/shell/qup_doc.h"
#include "platform/frame.h"
#include "platform/paths.h"
#include "platform/recording_context.h"
#include "shared/handover/display_record.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

const char* const kFiles[] = {
    "$@@@.@@@",      "$COLOR.@@@",   "$Cps_Post.@@@",         "$DEF_KAKO2.@@@",
    "$EDIT.@@@",     "$KP_TIME.@@@", "UNIT/PGM/DAT/HOLE.tcm", "$LIB.@@@",
    "$CG_WINDW.@@@", "$CGM.@@@",     "$CG_DATA.LST",          "FANUC.txt",
    "$RECT.@@@",
};

void ReadEverything() {
  auto app = std::make_unique<qup::shell::CQupApp>();
  app->ReadStartFiles();
  app->ReadEditFile();
  app->ReadMachiningTimeRecords();
  app->ReadToolComments("HOLE");
  const bool reload = app->StartMode() == 39;
  qup::shell::LoadDisplayWindow(app->panes, reload);

  qup::shell::CQupDoc doc;
  const std::unique_ptr<platform::Frame> window = platform::CreateFrame();
  qup::shell::CMainFrame frame(*app, doc, *window);
  frame.PreCreateWindow();
  frame.OnCreate();

  doc.LoadDisplayList(platform::ProgramFolder() / handover::kDisplayListFileName);
  platform::RecordingContext dc({640, 480}, std::make_shared<std::vector<platform::Primitive>>());
  app->panes.Setup({640, 480}, 0);
  app->panes.DrawDecorations(dc, app->Header(), true);
  bool first = true;
  for (const handover::CDisplayRecord& record : doc.Records()) {
    app->panes.Replay(dc, record, first);
    first = false;
  }
  app->panes.Flush(dc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  fuzz::HeadlessGuard backend;
  const char* file = kFiles[data[0] % std::size(kFiles)];
  fuzz::WriteInput(fuzz::ProgramFolder() / file, std::span(data + 1, size - 1));
  ReadEverything();
  return 0;
}
