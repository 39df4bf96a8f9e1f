// The listing of start mode 1: every motion block is preceded, on the same
// line, by 38 columns that show where the move goes (element number, X, Y, Z)
// so that a machinist can read the program against the drawing. For an arc
// the X/Y/Z columns take a line of their own and the block's line shows the
// radius and the centre instead.
#include <cmath>
#include <string>

#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {

namespace {

// The NC block starts at this column; the listing text fills the columns before it.
constexpr int kListingColumn = 38;
// Columns of the Y and Z words, and of the centre after the radius.
constexpr std::size_t kYColumn = 16;
constexpr std::size_t kZColumn = 27;
constexpr std::size_t kCentreColumn = 16;
// A zero coordinate printed as a zero word ("X0.").
constexpr double kZeroPlaceholder = 0.00009999;

void PadTo(std::string& text, std::size_t column) {
  if (text.size() < column) text.append(column - text.size(), ' ');
}

double NonZero(double value) { return std::fabs(value) <= 0.000001 ? kZeroPlaceholder : value; }

}  // namespace

std::string RunContext::ListingWord(char letter, double value) {
  // The word writers compose behind the open block and the text is taken out
  // again, so the listing shares their rounding and refusal of non-numbers.
  BlockBuffer& b = output.Block;
  const int mark = b.Position;
  const int savedFormat = output.WordFormat;
  output.WordFormat = (savedFormat & ~0xC000) | 0x2000;  // decimal point at 0.001
  if (letter != '\0') {
    PutWordValue(letter, value);
  } else {
    PutValueThreeDecimals(value);
  }
  output.WordFormat = savedFormat;
  std::string text(b.Text.data() + mark, static_cast<std::size_t>(b.Position - mark));
  b.Position = mark;
  return text;
}

void RunContext::WriteListingLine(std::string_view text) {
  EchoBlock(text);
  if (output.NcFileOutputOff == 0 && output.NcFile.IsOpen()) WriteNcLine(text);
}

void RunContext::PutListingPrefix() {
  OutputState& o = output;
  if (o.EffectiveMode != 1 || o.ListingSwitch == 0) return;
  std::string position;
  if (R0.number > 0) {
    const int mark = o.Block.Position;
    PutPaddedInteger(R0.number, 4);
    position.assign(o.Block.Text.data() + mark, static_cast<std::size_t>(o.Block.Position - mark));
    o.Block.Position = mark;
  } else {
    position = platform::Sjis("････");  // no element behind this move
  }
  position += ' ';
  position += ListingWord('X', NonZero(o.TargetX));
  PadTo(position, kYColumn);
  position += ListingWord('Y', NonZero(o.TargetY));
  PadTo(position, kZColumn);
  position += ListingWord('Z', NonZero(o.TargetZ));

  std::string prefix = position;
  if (o.ArcRadius != 0.0) {
    WriteListingLine(position);
    prefix = "     R=" + ListingWord('\0', o.ArcRadius);
    PadTo(prefix, kCentreColumn);
    prefix += "C(" + ListingWord('\0', o.PrevX + o.CentreI) + " " + ListingWord('\0', o.PrevY + o.CentreJ) + ")";
  }
  // The block was opened indented by blanks; the prefix takes their place.
  // A prefix that does not fit, or a block that was not indented, gets a
  // line of its own, and the block keeps its blanks.
  BlockBuffer& b = o.Block;
  bool indented = b.Position >= kListingColumn;
  for (int i = 0; indented && i < kListingColumn; ++i) indented = b.Text[static_cast<std::size_t>(i)] == ' ';
  if (!indented || prefix.size() > static_cast<std::size_t>(kListingColumn)) {
    WriteListingLine(prefix);
    return;
  }
  prefix.copy(b.Text.data(), prefix.size());
}

}  // namespace qup
