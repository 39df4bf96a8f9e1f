// The DXF reader's blocks: BLOCK and ENDBLK, INSERT and DIMENSION. A block's
// figures wait in work table 99 and its texts in the reader's own list, one
// range each per block; every insertion places a copy of both.
#include <cmath>
#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/files/dxf_reader_core.h"
#include "platform/text.h"

namespace dorn::dxf {

namespace {

// A block figure without a usable colour of its own takes this one.
constexpr int kBlockFallbackColour = 16;
constexpr int kHighestBlockColour = 29;
constexpr int kDimensionColour = 12;
constexpr int kDimensionTypeDefault = 32;
constexpr float kDimensionTextHeight = 5.0f;
// Blocks inserted into blocks into blocks...: deeper ones are left out.
constexpr std::size_t kNestingLimit = 32;

}  // namespace

struct DimensionValues {
  Vec2 p10, p11, p13, p14;
  double angle = 0.0;
  int type = kDimensionTypeDefault;
  int colour = kDimensionColour;
};

void Reader::CloseBlock() {
  if (curBlock_ >= 0) {
    Block& block = blocks_[static_cast<std::size_t>(curBlock_)];
    block.endFigure = GetFigureCount(kTableImport);
    block.endText = static_cast<int>(blockTexts_.size());
    block.defined = true;
  }
  curBlock_ = kNoBlock;
}

void Reader::ReadBlock() {
  CloseBlock();
  std::string name;
  Vec2 base;
  EntityHead scratch;
  int code = 0;
  while (NextCode(code) && code != 0) {
    if (!NextValue()) break;
    if (code == 2) name = std::string(Value());
    if (code == 10) base.x = Real(scratch);
    if (code == 20) base.y = Real(scratch);
  }
  if (blocks_.size() >= static_cast<std::size_t>(kDxfBlockLimit)) {
    ReportOnce(fullShown_[kFullBlocks], "BLOCK_SIZEが大きすぎます！");
    curBlock_ = kSkippedBlock;
    return;
  }
  Block block;
  block.base = scratch.bad ? Vec2{} : base;
  block.firstFigure = block.endFigure = GetFigureCount(kTableImport);
  block.firstText = block.endText = static_cast<int>(blockTexts_.size());
  curBlock_ = static_cast<int>(blocks_.size());
  blocks_.push_back(block);
  blockIndex_[name] = curBlock_;
}

void Reader::EndBlock() { CloseBlock(); }

void Reader::PlaceBlock(int index, const InsertTransform& t, const EntityHead& head, int& textsMoved) {
  std::vector<InsertTransform> chain{t};
  PlaceBlock(index, chain, head, textsMoved);
}

void Reader::PlaceBlock(int index, std::vector<InsertTransform>& chain, const EntityHead& head, int& textsMoved) {
  if (blocks_[static_cast<std::size_t>(index)].placing || chain.size() > kNestingLimit) return;
  blocks_[static_cast<std::size_t>(index)].placing = true;
  // The ranges as they stand now: a block still being defined places what it
  // held so far.
  const Block& block = blocks_[static_cast<std::size_t>(index)];
  const int firstFigure = block.firstFigure, firstText = block.firstText;
  const int endFigure = block.defined ? block.endFigure : GetFigureCount(kTableImport);
  const int endText = block.defined ? block.endText : static_cast<int>(blockTexts_.size());
  for (int i = firstFigure; i < endFigure; ++i) {
    GetFigure(kTableImport, i);
    FigureRecord& f = g_curFigure;
    int colour = f.attribute & 0xFF;
    if (f.attribute == 0 || f.attribute > kHighestBlockColour) colour = kBlockFallbackColour;
    const std::int32_t lineBits = f.attribute & kLineTypeBits;
    for (const InsertTransform& t : chain) TransformInsertedFigure(f, t);
    if (f.kind == kKindArc) {
      f.dir = {VectorAngle0(f.start.x - f.centre.x, f.start.y - f.centre.y),
               VectorAngle0(f.end.x - f.centre.x, f.end.y - f.centre.y)};
    }
    f.number = 0;
    f.attribute = MapImportColour(colour, lineBits);
    if (curBlock_ == kSkippedBlock) continue;
    if (PlaceImportedFigure(Target(head)) && curBlock_ < 0) ++outcome_.figures;
  }
  for (int i = firstText; i < endText; ++i) {
    TextRecord text = blockTexts_[static_cast<std::size_t>(i)];
    Vec2 at{text.baseX, text.baseY};
    double angle = text.angle;
    for (const InsertTransform& t : chain) at = t.Apply(at), angle += t.rotation;
    text.baseX = static_cast<float>(at.x);
    text.baseY = static_cast<float>(at.y);
    text.angle = static_cast<float>(angle);
    text.layer = head.table;
    AddText(text);
    ++textsMoved;
  }
  // Copied: placing may grow the block list's children of the block being defined.
  const std::vector<ChildInsert> children = blocks_[static_cast<std::size_t>(index)].children;
  for (const ChildInsert& child : children) {
    const auto it = blockIndex_.find(child.name);
    if (it == blockIndex_.end()) continue;
    chain.insert(chain.begin(), child.transform);
    PlaceBlock(it->second, chain, head, textsMoved);
    chain.erase(chain.begin());
  }
  blocks_[static_cast<std::size_t>(index)].placing = false;
}

void Reader::ReadInsert() {
  EntityHead head = NewHead();
  std::string name;
  InsertTransform t;
  int code = 0;
  while (NextCode(code) && code != 0) {
    if (!NextValue()) break;
    switch (code) {
      case 2: name = std::string(Value()); break;
      case 10: t.at.x = Real(head); break;
      case 20: t.at.y = Real(head); break;
      case 41: t.scaleX = Real(head); break;
      case 42: t.scaleY = Real(head); break;
      case 50: t.rotation = Real(head); break;
      default: CommonGroup(code, head);
    }
  }
  if (cut_ || head.bad) return;
  if (curBlock_ == kSkippedBlock) return;
  if (curBlock_ >= 0) {
    // Placed with the block it belongs to, whenever that is placed.
    Block& parent = blocks_[static_cast<std::size_t>(curBlock_)];
    t.at = {t.at.x - parent.base.x, t.at.y - parent.base.y};
    parent.children.push_back({name, t});
    return;
  }
  const auto it = blockIndex_.find(name);
  if (it == blockIndex_.end()) return;
  int moved = 0;
  PlaceBlock(it->second, t, head, moved);
}

void Reader::AddLinearDimension(const DimensionValues& d, const EntityHead& head) {
  // Extension line 1 runs from point 14 to the dimension line at point 10;
  // the dimension line is perpendicular to it through point 10.
  const double len = std::hypot(d.p10.x - d.p14.x, d.p10.y - d.p14.y);
  if (len <= 0.0) return;
  const Vec2 u{(d.p10.x - d.p14.x) / len, (d.p10.y - d.p14.y) / len};
  const Vec2 v{-u.y, u.x};
  const double along = (d.p13.x - d.p10.x) * v.x + (d.p13.y - d.p10.y) * v.y;
  const Vec2 foot{d.p10.x + v.x * along, d.p10.y + v.y * along};
  StoreLine(d.p14, d.p10, head, d.colour);
  StoreLine(d.p13, foot, head, d.colour);
  StoreLine(d.p10, foot, head, d.colour);
  const double measured = std::hypot(foot.x - d.p10.x, foot.y - d.p10.y);
  if (measured <= 0.0005) return;
  FormatNumber4(Round3(measured));
  TextRecord text;
  text.layer = head.table;
  text.colour = d.colour;
  text.size = kDimensionTextHeight;
  text.angle = static_cast<float>((d.type & 7) == 0 ? d.angle : VectorAngle(foot.x - d.p10.x, foot.y - d.p10.y));
  text.baseX = static_cast<float>(d.p11.x);
  text.baseY = static_cast<float>(d.p11.y);
  const Vec2 origin = CurrentLayerOrigin();
  text.originX = static_cast<float>(origin.x);
  text.originY = static_cast<float>(origin.y);
  SetTextRecordText(text, g_textBuffer);
  if (curBlock_ >= 0) text.baseX -= static_cast<float>(blocks_[static_cast<std::size_t>(curBlock_)].base.x),
                      text.baseY -= static_cast<float>(blocks_[static_cast<std::size_t>(curBlock_)].base.y);
  AddText(text);
}

void Reader::ReadDimension() {
  EntityHead head = NewHead();
  DimensionValues d;
  std::string name;
  InsertTransform t;
  int code = 0;
  while (NextCode(code) && code != 0) {
    if (!NextValue()) break;
    switch (code) {
      case 2: name = std::string(Value()); break;
      case 10: d.p10.x = Real(head); break;
      case 20: d.p10.y = Real(head); break;
      case 11: d.p11.x = Real(head); break;
      case 21: d.p11.y = Real(head); break;
      case 12: t.at.x = Real(head); break;
      case 22: t.at.y = Real(head); break;
      case 13: d.p13.x = Real(head); break;
      case 23: d.p13.y = Real(head); break;
      case 14: d.p14.x = Real(head); break;
      case 24: d.p14.y = Real(head); break;
      case 50: d.angle = Real(head); break;
      case 53: t.rotation = Real(head); break;
      case 62: d.colour = Integer(); break;
      case 70: d.type = Integer(); break;
      default: CommonGroup(code, head);
    }
  }
  if (cut_ || head.bad) return;
  int moved = 0;
  const auto it = blockIndex_.find(name);
  if (it != blockIndex_.end()) PlaceBlock(it->second, t, head, moved);
  if (moved > 0) return;
  if ((d.type & 7) <= 1) AddLinearDimension(d, head);
}

}  // namespace dorn::dxf
