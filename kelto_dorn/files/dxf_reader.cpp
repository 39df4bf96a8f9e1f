// The DXF reader's main loop, its line reading, the layer and line-type
// tables and taking a failed read back: see dxf_reader.h.
#include "kelto_dorn/files/dxf_reader.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/drawing/curve_through_points.h"
#include "kelto_dorn/files/dxf_reader_core.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

namespace dxf {

namespace {

// A line longer than this is cut: the rest of the line is not read.
constexpr std::size_t kLineLimit = 90;
constexpr std::size_t kReadChunk = 1 << 16;
// Added to the curve counter at every read so that the read's curves are
// numbered apart from the drawing's.
constexpr int kCurveNumberGap = 257;
constexpr int kNoCode = -9999;
constexpr char kBinaryDxfMark[] = "AutoCAD Binary DXF";

// The entity names the main loop dispatches on; codes below 10 are read only
// once entity reading is on.
enum EntityCode {
  kEntities = 0,
  kPoint = 1,
  kLine = 2,
  kArc = 3,
  kCircle = 4,
  kPolyline = 5,
  kEllipse = 6,
  kLwPolyline = 7,
  kSpline = 8,
  kLeader = 9,
  kBlocks = 10,
  kBlock = 15,
  kEndBlk = 16,
  kInsert = 18,
  kEndSec = 19,
  kSolid = 20,
  kText = 55,
  kMText = 56,
  kDimension = 58,
  kLType = 60,
  kLayer = 70,
  kEof = 91,
  kNone = 99,
};

int FindDxfEntity(const std::string& line) {
  static const std::unordered_map<std::string, int> kTable = {
      {"ENTITIES", kEntities}, {"POINT", kPoint},   {"LINE", kLine},         {"ARC", kArc},
      {"CIRCLE", kCircle},     {"POLYLINE", kPolyline}, {"ELLIPSE", kEllipse}, {"LWPOLYLINE", kLwPolyline},
      {"SPLINE", kSpline},     {"LEADER", kLeader}, {"BLOCKS", kBlocks},     {"BLOCK", kBlock},
      {"ENDBLK", kEndBlk},     {"INSERT", kInsert}, {"ENDSEC", kEndSec},     {"SOLID", kSolid},
      {"LTYPE", kLType},       {"LAYER", kLayer},   {"TEXT", kText},         {"MTEXT", kMText},
      {"DIMENSION", kDimension}, {"EOF", kEof}};
  const auto it = kTable.find(line);
  return it == kTable.end() ? kNone : it->second;
}

}  // namespace

Reader::Reader(std::FILE* file, std::string name, bool quiet)
    : file_(file), name_(std::move(name)), quiet_(quiet), buffer_(kReadChunk) {}

// --- lines and groups ------------------------------------------------------

bool Reader::ReadLine() {
  if (repeatLine_) {
    repeatLine_ = false;
    return true;
  }
  line_.clear();
  bool any = false;
  while (true) {
    if (pos_ == size_) {
      size_ = file_ != nullptr && !eof_ ? std::fread(buffer_.data(), 1, buffer_.size(), file_) : 0;
      pos_ = 0;
      if (size_ == 0) {
        eof_ = true;
        if (!any) return false;
        break;
      }
    }
    const char c = buffer_[pos_++];
    if (pendingLf_) {
      pendingLf_ = false;
      if (c == '\n') continue;
    }
    any = true;
    if (c == '\n') break;
    if (c == '\r') {
      pendingLf_ = true;
      break;
    }
    if (line_.size() < kLineLimit) line_.push_back(c);
  }
  ++lineNumber_;
  return true;
}

std::string_view Reader::Value() const {
  std::string_view v(line_);
  while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
  return v;
}

int Reader::GroupCode() const {
  std::string_view v = Value();
  while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
  int code = kNoCode;
  const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), code);
  if (ec != std::errc() || end != v.data() + v.size() || v.empty()) return kNoCode;
  return code;
}

double Reader::Real(EntityHead& head) const {
  const std::string text(Value());
  const double v = std::strtod(text.c_str(), nullptr);
  if (!std::isfinite(v)) {
    head.bad = true;
    return 0.0;
  }
  return v;
}

int Reader::Integer() const {
  const std::string text(Value());
  const long v = std::strtol(text.c_str(), nullptr, 10);
  if (v > 0x7FFFFFFFL) return 0x7FFFFFFF;
  if (v < -0x7FFFFFFFL) return -0x7FFFFFFF;
  return static_cast<int>(v);
}

bool Reader::NextCode(int& code) {
  if (!ReadLine()) {
    cut_ = true;
    return false;
  }
  code = GroupCode();
  return true;
}

bool Reader::NextValue() {
  if (ReadLine()) return true;
  cut_ = true;
  return false;
}

// --- tables and mapping ----------------------------------------------------

void Reader::ResetTables() {
  layers_.clear();
  layerIndex_.clear();
  lineTypes_.clear();
  lineTypeIndex_.clear();
  blocks_.clear();
  blockIndex_.clear();
  blockTexts_.clear();
  curBlock_ = kNoBlock;
}

std::int32_t Reader::MapDxfLineType(std::string_view name) const {
  const auto it = lineTypeIndex_.find(std::string(name));
  if (it != lineTypeIndex_.end()) return it->second;
  static const std::unordered_map<std::string_view, std::int32_t> kKnown = {
      {"CENTER", kLineTypeChain},      {"CENTER2", kLineTypeChain},       {"CENTERX2", kLineTypeChain},
      {"DASHDOT", kLineTypeChain},     {"DASHED", kLineTypeDashed},       {"DASHED2", kLineTypeDashed},
      {"DOT", kLineTypeDashed},        {"DOT2", kLineTypeDashed},         {"HIDDEN2", kLineTypeDashed},
      {"PHANTOM", kLineTypeTwoDotChain}, {"PHANTOM2", kLineTypeTwoDotChain}, {"PHANTOMX2", kLineTypeTwoDotChain}};
  const auto known = kKnown.find(name);
  return known == kKnown.end() ? 0 : known->second;
}

void Reader::MapDxfLayer(std::string_view name, EntityHead& head) const {
  const auto it = layerIndex_.find(std::string(name));
  if (it == layerIndex_.end()) return;
  const Layer& layer = layers_[static_cast<std::size_t>(it->second)];
  if (curBlock_ >= 0) {
    head.colour = layer.colour;
    head.lineBits = layer.lineBits;
  }
  if (g_cadByLayer != 0) head.table = it->second % kLayerCount;
}

EntityHead Reader::NewHead() const {
  EntityHead head;
  head.table = selectedTable_;
  return head;
}

bool Reader::CommonGroup(int code, EntityHead& head) {
  switch (code) {
    case 8:
      MapDxfLayer(Value(), head);
      return true;
    case 6:
      head.lineBits = MapDxfLineType(Value());
      return true;
    case 62:
      head.colour = Integer();
      head.colourGiven = true;
      return true;
    case 230:
      head.mirrorX = Real(head) < 0.0;
      return true;
    default:
      return false;
  }
}

void Reader::ReadLineTypeEntry() {
  std::string name;
  int gaps = 0;
  EntityHead scratch;
  int code = 0;
  while (NextCode(code) && code != 0) {
    if (!NextValue()) break;
    if (code == 2) name = std::string(Value());
    if (code == 49 && Real(scratch) < 0.0) ++gaps;
  }
  if (cut_ || name.empty()) return;
  const std::int32_t bits = gaps == 0 ? 0 : gaps == 1 ? kLineTypeDashed : gaps == 2 ? kLineTypeChain : kLineTypeTwoDotChain;
  if (lineTypes_.size() >= static_cast<std::size_t>(kDxfLineTypeLimit)) {
    ReportOnce(fullShown_[kFullLineTypes], "線種が多すぎます: 残りの線種は実線として読みます");
    return;
  }
  lineTypeIndex_[name] = bits;
  lineTypes_.emplace_back(name, bits);
}

void Reader::ReadLayerEntry() {
  Layer layer;
  EntityHead scratch;
  int code = 0;
  while (NextCode(code) && code != 0) {
    if (!NextValue()) break;
    if (code == 2) layer.name = std::string(Value());
    if (code == 62) layer.colour = Integer();
    if (code == 6) layer.lineBits = MapDxfLineType(Value());
  }
  // A table head has no name and takes no place among the layers.
  if (cut_ || layer.name.empty()) return;
  if (layers_.size() >= static_cast<std::size_t>(kDxfLayerLimit)) {
    ReportOnce(fullShown_[kFullLayers], "レイヤーが多すぎます: 残りのレイヤーの図形は選択中のレイヤーに入ります");
    return;
  }
  if (layerIndex_.count(layer.name) == 0) layerIndex_[layer.name] = static_cast<int>(layers_.size());
  layers_.push_back(std::move(layer));
}

// --- placing ----------------------------------------------------------------

PlacementTarget Reader::Target(const EntityHead& head) const {
  return PlacementTarget{head.table, curBlock_ >= 0 ? curBlock_ : -1};
}

bool Reader::Finish(const EntityHead& head, int colour) {
  if (curBlock_ == kSkippedBlock || head.bad) return false;
  g_curFigure.attribute = MapImportColour(colour, head.lineBits);
  const Vec2 base = curBlock_ >= 0 ? blocks_[static_cast<std::size_t>(curBlock_)].base : Vec2{};
  const bool stored = ShiftImportedFigure(Target(head), base);
  if (stored && curBlock_ < 0) ++outcome_.figures;
  return stored;
}

void Reader::PlacePiece(FigureRecord& piece, const EntityHead& head) {
  if (curBlock_ == kSkippedBlock) return;
  g_curFigure = piece;
  g_curFigure.attribute = MapImportColour(EntityColour(head), head.lineBits);
  // The points were shifted into the block already.
  if (PlaceImportedFigure(Target(head)) && curBlock_ < 0) ++outcome_.figures;
}

int Reader::EntityColour(const EntityHead& head) const {
  return head.colour == 0 ? kImportDefaultColour : head.colour;
}

void Reader::ResetCurrentFigure() {
  FigureRecord& f = g_curFigure;
  f = FigureRecord{};
  f.layer = g_curLayer;
  f.style = 5;
  f.attribute = kImportDefaultColour;
}

void Reader::StoreLine(Vec2 a, Vec2 b, const EntityHead& head, int colour) {
  ResetCurrentFigure();
  g_curFigure.kind = kKindLine;
  g_curFigure.start = a;
  g_curFigure.end = b;
  Finish(head, colour);
}

// --- texts ------------------------------------------------------------------

void Reader::AddText(const TextRecord& record) {
  if (curBlock_ == kSkippedBlock) return;
  if (curBlock_ >= 0) {
    blockTexts_.push_back(record);
    return;
  }
  if (textEnd_ >= kTextRecordCapacity) {
    ReportOnce(fullShown_[kFullTexts], "テキストが多すぎます: 残りのテキストは読みません");
    return;
  }
  g_textRecords[static_cast<std::size_t>(textEnd_)] = record;
  ++textEnd_;
  g_textRecords[static_cast<std::size_t>(textEnd_)].layer = kTextRecordFree;
  ++outcome_.texts;
}

// --- reports and taking back -------------------------------------------------

void Reader::Report(std::string_view utf8What) {
  char head[64];
  std::snprintf(head, sizeof head, "%d", lineNumber_);
  std::string text = platform::Sjis("ＤＸＦファイル ") + name_ + "\n" + head + platform::Sjis("行目: ") +
                     platform::Sjis(utf8What);
  if (!outcome_.message.empty()) outcome_.message += "\n";
  outcome_.message += text;
  if (!quiet_) {
    platform::ShowMessageBox({text, "", platform::MessageButtons::Ok, platform::MessageIcon::Exclamation});
  }
}

void Reader::ReportOnce(bool& shown, std::string_view utf8What) {
  if (shown) return;
  shown = true;
  Report(utf8What);
}

void Reader::NoteCounts() {
  for (int t = 0; t <= kTableCurves; ++t) tableCounts_[t] = GetFigureCount(t);
  textStart_ = textEnd_ = TextRecordsInUse();
  curveNumberStart_ = g_pointCurveNumber;
}

void Reader::Rollback() {
  for (int t = 0; t <= kTableCurves; ++t) {
    FigureTable* table = g_figureStore.Table(t);
    if (table == nullptr || table->count() <= tableCounts_[t]) continue;
    for (int i = tableCounts_[t]; i < table->count(); ++i) table->slot(i).kind = kKindEmpty;
    table->set_count(tableCounts_[t]);
  }
  if (textStart_ < kTextRecordCount) g_textRecords[static_cast<std::size_t>(textStart_)].layer = kTextRecordFree;
  textEnd_ = textStart_;
  g_pointCurveNumber = curveNumberStart_;
  outcome_.figures = outcome_.texts = 0;
}

// --- the main loop ----------------------------------------------------------

void Reader::Dispatch(int code) {
  switch (code) {
    case kEntities:
      entitiesOn_ = true;
      inEntities_ = true;
      return;
    case kBlocks:
      if (g_dxfCompound != 0) entitiesOn_ = true;
      return;
    case kEndSec:
      inEntities_ = false;
      return;
    case kLine: return ReadLineEntity();
    case kArc: return ReadArc(false);
    case kCircle: return ReadArc(true);
    case kPolyline: return ReadPolyline();
    case kEllipse: return ReadEllipse();
    case kLwPolyline: return ReadLwPolyline();
    case kSpline: return ReadSpline();
    case kLeader: return ReadLeader();
    case kSolid: return ReadSolid();
    case kBlock: return ReadBlock();
    case kEndBlk: return EndBlock();
    case kInsert: return ReadInsert();
    case kDimension: return ReadDimension();
    case kText: return ReadText(false);
    case kMText: return ReadText(true);
    case kLType: return ReadLineTypeEntry();
    case kLayer: return ReadLayerEntry();
    default: return;
  }
}

void Reader::ReadVersion() {
  int code = 0;
  if (!NextCode(code) || !NextValue()) return;
  utf8Texts_ = Value().substr(0, 6) >= "AC1021";
}

DxfReadOutcome Reader::Run() {
  selectedTable_ = g_figureTableSelector;
  ClearFigureTable(kTableImport);
  NoteCounts();
  g_pointCurveNumber += kCurveNumberGap;
  ResetTables();
  bool any = false;
  bool ended = false;
  while (!cut_ && ReadLine()) {
    if (lineNumber_ == 1 && line_.compare(0, sizeof kBinaryDxfMark - 1, kBinaryDxfMark) == 0) {
      Report("バイナリＤＸＦは読めません");
      Rollback();
      outcome_.ok = false;
      break;
    }
    if (line_ == "SECTION") sawSection_ = true;
    if (line_ == "$ACADVER") {
      ReadVersion();
      continue;
    }
    int code = FindDxfEntity(line_);
    if (code != kEntities && code < kBlocks && !entitiesOn_) code = kNone;
    if (code == kEof) {
      ended = true;
      break;
    }
    if (code != kNone) any = true;
    Dispatch(code);
  }
  outcome_.lastLine = lineNumber_;
  if (!outcome_.ok) return outcome_;
  const char* fault = nullptr;
  if (cut_) {
    fault = "図形の途中でファイルが終わっています";
  } else if (!ended && (inEntities_ || curBlock_ != kNoBlock)) {
    fault = "ＥＮＴＩＴＩＥＳの終わり（ＥＮＤＳＥＣ）の前でファイルが終わっています";
  } else if (!any && !sawSection_) {
    fault = "ＤＸＦとして読めるデータがありません";
  }
  if (fault != nullptr) {
    // Nothing of a damaged read stays: the drawing is as it was.
    Rollback();
    Report(fault);
    outcome_.ok = false;
  }
  return outcome_;
}

}  // namespace dxf

DxfReadOutcome ReadDxfFile(std::FILE* file, const std::string& name, bool quiet) {
  dxf::Reader reader(file, name, quiet);
  return reader.Run();
}

}  // namespace dorn
