// The post's six block templates and their placeholder language, and the
// tool comments they pull in. A template is walked character by character:
// "?" the current T code, "??" the next tool (with its diameter comment),
// "?+n" / "??+n" offsets of them, "T??" a tool word only when a tool follows,
// "Ghh" the compensation side, ";" a block end, "[...]" and "{...}" the
// sections that the return and set-up kinds write.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {

namespace {

enum class TemplateMode { kWhole, kBrace, kBracket };

struct TemplateKind {
  int index;  // template 0 .. 5
  TemplateMode mode;
};

bool KindOf(int kind, TemplateKind* out) {
  if (kind >= 0 && kind <= 5) {
    *out = {kind, TemplateMode::kWhole};
  } else if (kind == 11 || kind == 21) {
    *out = {kind / 10, TemplateMode::kBrace};
  } else if (kind == 20 || kind == 30 || kind == 40) {
    *out = {kind / 10, TemplateMode::kBracket};
  } else {
    return false;
  }
  return true;
}

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// The one to three digits at text[i], as a number; *length gets their count.
int ReadDigits(const char* text, int i, int end, int* length) {
  int value = 0, n = 0;
  while (n < 3 && i + n < end && IsDigit(text[i + n])) value = value * 10 + (text[i + n++] - '0');
  *length = n;
  return value;
}

// "%d" of the number, at least 2 characters (a leading "0") and at most 3.
std::string TwoToThreeDigits(int value) {
  std::string text = std::to_string(value);
  if (text.size() == 1) text.insert(text.begin(), '0');
  return text.substr(0, 3);
}

}  // namespace

bool RunContext::HeadOutputAllowed() const {
  const bool displayChannel = output.OutputSuppress == 64 || output.OutputSuppress == 128;
  return !(displayChannel && output.SubModeOutput == 0) && output.DataFileWord == 0;
}

void RunContext::WriteBlock(std::string_view text) {
  PutBlockText(text);
  EndBlock();
}

void RunContext::PutToolComment(int tool) {
  if (tool <= 0) return;
  for (const ToolCommentRecord& record : output.ToolComments) {
    if (record.toolNumber != tool) continue;
    for (const auto* field : {&record.comment1, &record.comment2}) {
      const std::string text = platform::FieldText(*field);
      if (text.empty()) continue;
      EndBlock();  // the comment begins a block of its own
      PutBlockText("(" + text + ")");
    }
    return;
  }
}

const handover::ToolMapRecord* RunContext::FindToolMapRecord(int tool) const {
  if (output.ToolMapLoaded == 0) return nullptr;
  for (const handover::ToolMapRecord& record : output.ToolMap) {
    if (record.atcNumber == tool) return &record;
  }
  return nullptr;
}

void RunContext::PutDiameterComment() {
  const handover::ToolMapRecord* record = FindToolMapRecord(output.CurrentTCode);
  if (record == nullptr) return;
  EndBlock();
  char text[160];
  std::snprintf(text, sizeof text, "(DIA%3.2f %s)", static_cast<double>(record->diameter),
                platform::FieldText(record->toolName).c_str());
  PutBlockText(text);
}

int RunContext::ExpandBlockTemplate(int kind) {
  TemplateKind tk{};
  if (!KindOf(kind, &tk)) return 0;
  if (kind == 11 || kind == 21) {
    // What the open block holds is discarded, but not its opening (quote and
    // sequence word): the line stays whole and the numbering runs on.
    output.Block.Position = std::min(output.Block.Position, OpenedPrefixLength());
  }
  const char* text = output.Post.blocks[tk.index].text;
  const int end = static_cast<int>(strnlen(text, handover::BlockTemplate::kSize));
  // Kinds 1 and 4 under automatic centring drop their brackets and may turn
  // the bracketed optional stop into "M00".
  const bool centringKind = (tk.index == 1 || tk.index == 4) && output.CentringMode == 1;
  const bool nextTool = output.NextTool >= 0.0;
  bool toolWordPending = false;  // "T??": plain characters only when a tool follows
  bool inSection = tk.mode == TemplateMode::kWhole;

  auto putPlain = [&](char ch) {
    if (!toolWordPending || nextTool) PutBlockChar(ch);
  };

  for (int i = 0; i < end; ++i) {
    const char ch = text[i];
    if (!inSection) {
      // Before its section a brace or bracket kind writes nothing.
      if ((tk.mode == TemplateMode::kBrace && ch == '{') || (tk.mode == TemplateMode::kBracket && ch == '[')) {
        inSection = true;
      }
      continue;
    }
    const char next1 = i + 1 < end ? text[i + 1] : '\0';
    const char next2 = i + 2 < end ? text[i + 2] : '\0';
    if (ch == 'T' && next1 == '?' && next2 == '?') {
      toolWordPending = true;
      putPlain(ch);
    } else if (ch == ';') {
      EndBlock();
    } else if (ch == '?' && next1 == '?' && next2 == '+') {
      int length = 0;
      const int number = ReadDigits(text, i + 3, end, &length);
      i += 2 + length;
      if (length == 0) continue;
      // Under "T??" without a following tool the whole tool word is left
      // out: the offset number alone would be no NC word.
      if (toolWordPending && !nextTool) continue;
      const int value = number + (nextTool ? static_cast<int>(output.NextTool) : 0);
      PutBlockText(TwoToThreeDigits(value));
      if (nextTool) {
        PutToolComment(static_cast<int>(output.NextTool));
        PutDiameterComment();
      }
    } else if (ch == '?' && next1 == '?') {
      ++i;
      if (nextTool) {
        PutPaddedInteger(output.NextTool, 2);
        PutToolComment(static_cast<int>(output.NextTool));
      }
      PutDiameterComment();
      toolWordPending = false;
    } else if (ch == '?' && next1 == '+') {
      int length = 0;
      const int number = ReadDigits(text, i + 2, end, &length);
      i += 1 + length;
      if (length == 0) continue;
      PutBlockText(TwoToThreeDigits(number + output.CurrentTCode));
      PutToolComment(output.CurrentTCode);
    } else if (ch == '?') {
      PutPaddedInteger(output.CurrentTCode, 2);
      PutToolComment(output.CurrentTCode);
    } else if (ch == 'G' && next1 == 'h' && next2 == 'h') {
      i += 2;
      if ((output.CompensationSide & 0x2) != 0)
        PutBlockText("G41");
      else if ((output.CompensationSide & 0x4) != 0)
        PutBlockText("G42");
    } else if (ch == '[') {
      if (centringKind && output.OptionalStopSetting != 0) {
        PutBlockText("M00");
        while (i + 1 < end && text[i + 1] != ']') ++i;
        ++i;  // the closing "]"
      } else if (output.SubprogramMode != 0) {
        break;  // a subprogram takes the template up to its first bracket
      } else if (!centringKind) {
        putPlain(ch);
      }
    } else if (ch == ']') {
      if (tk.mode == TemplateMode::kBracket) break;
      if (!centringKind) putPlain(ch);
    } else if (ch == '{') {
      if (tk.mode != TemplateMode::kBrace) break;  // the rest serves kinds 11 and 21
    } else if (ch == '}') {
      break;
    } else {
      putPlain(ch);
    }
  }
  EndBlock();
  if (tk.mode == TemplateMode::kWhole && (kind == 2 || kind == 3)) EmitMachineMCode(kind == 2);
  return AbortFlag == kStopRun ? kStopRun : 0;
}

void RunContext::EmitMachineMCode(bool start) {
  if (output.MachineMCodesLoaded == 0) return;
  const handover::ToolMapRecord* tool = ProcessToolRecord();
  if (tool == nullptr || tool->coolant < 1 || tool->coolant > 4) return;
  for (const MachineMCodeEntry& entry : output.MachineMCodes) {
    if (platform::FieldText(entry.machineName) != output.JobMachineName) continue;
    const MachineMCodeEntry::Codes& codes = entry.kinds[tool->coolant - 1];
    const std::string code = platform::FieldText(start ? codes.start : codes.end);
    if (!code.empty()) WriteBlock(std::string_view(code).substr(0, 3));
    return;
  }
}

}  // namespace qup
