#include "kelto_dorn/machining/definition_z_range.h"

#include <algorithm>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "platform/text.h"

namespace dorn {
namespace {

constexpr int kAreaCutMode = 1;
constexpr int kChamferMode = 10;

std::string Number(double v) {
  FormatNumber4(v);
  return g_textBuffer;
}

bool IsZRepeat(const RepeatBlock& b) { return b.inUse != 0 && (b.kind == 2 || b.kind == 7); }

// The model kinds name the pass style instead of numbers.
ZRangeText ModelWords(const MachiningDefinition& d, const StepCondition& s) {
  ZRangeText t;
  switch (s.stepMode & 0xF) {
    case 4:
    case 7:
      t.left = platform::Sjis("ベース");
      break;
    case 5:
      t.left = platform::Sjis("断面");
      break;
    case 8:
      t.left = platform::Sjis("Ｒ走行");
      break;
    default:
      break;
  }
  const char* right = "周回";
  if (d.kind == static_cast<std::int32_t>(MachiningKind::Model)) {
    if (s.word208 != 0) {
      right = "往復";
    } else if (s.switch8 == 1) {
      right = "一定";
    }
  } else if (s.word208 == 0 && s.switch8 == 1) {
    right = "一定";
  } else if (s.word208 == 1 && s.switch8 == 0) {
    right = "往復";
  }
  t.right = platform::Sjis(right);
  return t;
}

}  // namespace

std::string ZRangeText::Whole() const { return " " + left + " " + platform::Sjis("～") + " " + right; }

ZRangeText FormatDefinitionZRange(MachiningDefinition& d, int step, int postOption1328,
                                  const SurfaceNameLookup& surfaceName) {
  StepCondition& s = d.steps[std::clamp(step, 0, kStepCount - 1)];
  const AtcRecord& tool = d.stepTools[std::clamp(step, 0, kStepCount - 1)];
  if (d.kind == static_cast<std::int32_t>(MachiningKind::Model) ||
      d.kind == static_cast<std::int32_t>(MachiningKind::Fillet)) {
    return ModelWords(d, s);
  }
  const RepeatBlock* block = nullptr;
  for (const RepeatBlock& b : s.repeat) {
    if (IsZRepeat(b)) block = &b;  // the second block wins
  }
  ZRangeText t;
  if (block == nullptr) {
    if (s.stepMode == kAreaCutMode && s.areaCutValue != 0.0) {
      t.left = platform::Sjis("区域");
      t.right = Number(s.areaCutValue);
    } else if (s.stepMode == kChamferMode) {
      t.right = platform::Sjis("面取り");
    } else {
      const bool byFigure = d.kind == static_cast<std::int32_t>(MachiningKind::ThreeAxisSurface) &&
                            s.repeat[0].kind > 7;
      t.left = (byFigure ? "%:" : "XY") + Number(s.repeat[0].first);
      t.right = Number(s.repeat[0].third);
    }
    return t;
  }
  const double r = s.endDepth;
  double upper = std::max(block->first, block->third) + r;
  double lower = std::min(block->first, block->third) + r;
  // The tool-radius Z switch (general integer at 32) adds the corner radius
  // on posts that do not add it themselves.
  if (d.general16[4] != 0 && postOption1328 == 0) {
    upper += tool.cornerRadius;
    lower += tool.cornerRadius;
  }
  s.depth = upper;
  t.left = "Z" + Number(upper);
  if (s.surfaceKey != 0) {
    const std::optional<std::string> name = surfaceName ? surfaceName(s.surfaceKey) : std::nullopt;
    t.right = name ? *name : platform::Sjis("曲面error...!");
  } else {
    t.right = Number(lower);
  }
  return t;
}

}  // namespace dorn
