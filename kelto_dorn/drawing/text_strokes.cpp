// Text as stroke figures: see text_strokes.h.
#include "kelto_dorn/drawing/text_strokes.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/document/system_state.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

namespace {

constexpr int kScratchTable = kTableWork;
// The line-type bits: a figure carrying one is an advance marker.
constexpr std::int32_t kLineTypeBits = 0xF000;
constexpr unsigned kStopIcon = 0x10;

struct NamedCharacter {
  char c;
  const char* file;
};

// The characters whose files carry a word instead of the character itself.
constexpr NamedCharacter kNamed[] = {
    {' ', "SPACE.dxf"},      {'"', "DQUOTE.dxf"},  {'\'', "QUOTE.dxf"},    {'`', "REVQUOTE.dxf"},
    {'*', "ASTERISK.dxf"},   {'+', "PLUS.dxf"},    {',', "COMMA.dxf"},     {'-', "MINUS.dxf"},
    {'.', "PERIOD.dxf"},     {'/', "SLASH.dxf"},   {'\\', "BACKSLASH.dxf"}, {':', "colon.dxf"},
    {';', "semicolon.dxf"},  {'<', "LESSER.dxf"},  {'=', "EQUAL.dxf"},     {'>', "GREATER.dxf"},
    {'?', "QUESTION.dxf"},   {'|', "VBER.dxf"},
};
// The characters whose file is the character itself with ".dxf".
constexpr const char* kSelfNamed = "!#$%&()@[]^_{}~";

std::filesystem::path FontFolder() {
  const std::filesystem::path root = g_dataFolder.empty() ? platform::DataRoot() : g_dataFolder;
  return root / "FONTS";
}

// Reads one character file into the emptied scratch table; false when it
// could not be read.
bool ReadCharacter(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return false;
  ClearFigureTable(kScratchTable);
  g_figureTableSelector = kScratchTable;
  g_figureAttribute = 0;
  // "レイヤー別表示" would send the strokes to the drawing layers of the
  // font file's layers: it is off for the read and the user's again after.
  const int byLayer = g_cadByLayer;
  g_cadByLayer = 0;
  const bool read = g_commandEngines.readDxfFile && g_commandEngines.readDxfFile(file);
  g_cadByLayer = byLayer;
  return read;
}

// Copies the strokes of the scratch table into the target table at the pen
// position; returns the character's advance width (its markers' end X).
double CopyStrokes(int table, Vec2 at, Vec2 origin, int& stored) {
  double width = 0.0;
  const int count = GetFigureCount(kScratchTable);
  for (int i = 0; i < count; ++i) {
    GetFigure(kScratchTable, i);
    FigureRecord& f = g_curFigure;
    if ((f.attribute & kLineTypeBits) != 0) {
      width = std::max(width, f.end.x);
      continue;
    }
    for (Vec2* p : {&f.start, &f.end, &f.centre}) *p = {p->x + at.x, p->y + at.y};
    f.origin = origin;
    g_figureTableSelector = table;
    if (AppendFigure(0)) ++stored;
  }
  return width;
}

}  // namespace

bool IsDoubleByteLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::string FontCharacterFile(unsigned char c) {
  if (c >= '0' && c <= '9') return std::string(1, static_cast<char>(c)) + ".dxf";
  if (c >= 'A' && c <= 'Z') return std::string(1, static_cast<char>(c)) + ".dxf";
  if (c >= 'a' && c <= 'z') return "_" + std::string(1, static_cast<char>(c - 'a' + 'A')) + ".dxf";
  for (const NamedCharacter& n : kNamed) {
    if (n.c == static_cast<char>(c)) return n.file;
  }
  if (c != 0 && std::strchr(kSelfNamed, c) != nullptr) return std::string(1, static_cast<char>(c)) + ".dxf";
  return {};
}

int TextToStrokes(platform::DeviceContext&) {
  const int table = g_figureTableSelector;
  const int layer = g_curLayer;
  const Vec2 origin = CurrentLayerOrigin();
  const std::filesystem::path folder = FontFolder();
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    platform::ShowMessageBox(platform::Sjis("文字図形のフォントフォルダがありません: ") + platform::SystemName(folder),
                             std::string_view(), kStopIcon);
    return 0;
  }
  const TextRecord& t = g_curTextRecord;
  const std::size_t length = strnlen(t.text, sizeof t.text);
  const Vec2 base{t.baseX, t.baseY};
  double pen = 0.0, lastWidth = 0.0;
  int stored = 0;
  g_curLayer = kScratchTable;
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(t.text[i]);
    if (IsDoubleByteLead(c)) {
      // A double-byte character has no strokes: both bytes are skipped and
      // it takes the room of two characters.
      ++i;
      pen += 2.0 * lastWidth;
      continue;
    }
    const std::string name = FontCharacterFile(c);
    if (!name.empty() && ReadCharacter(folder / name)) {
      g_curLayer = layer;
      lastWidth = CopyStrokes(table, {base.x + pen, base.y}, origin, stored);
      g_curLayer = kScratchTable;
    }
    pen += lastWidth;
  }
  ClearFigureTable(kScratchTable);
  g_figureTableSelector = table;
  g_curLayer = layer;
  return stored;
}

}  // namespace dorn
