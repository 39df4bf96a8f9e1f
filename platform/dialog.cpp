#include "platform/dialog.h"

#include <algorithm>

#include "platform/backend.h"
#include "platform/text.h"
#include "platform/unicode.h"

namespace platform {

namespace {

int g_modalDepth = 0;
std::vector<Dialog*> g_modalStack;

bool IsButtonKind(ControlKind k) {
  return k == ControlKind::PushButton || k == ControlKind::OwnerDrawButton || k == ControlKind::BitmapButton;
}

bool IsListKind(ControlKind k) {
  return k == ControlKind::ListBox || k == ControlKind::ComboBox || k == ControlKind::TabControl;
}

// Lower-cases ASCII letters only, stepping over the second byte of a
// double-byte character (which may fall in the letter range).
std::string LowerCaseCp932(std::string_view s) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsCp932LeadByte(c) && i + 1 < out.size()) {
      ++i;
      continue;
    }
    if (c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Case-insensitive prefix test on ASCII letters; double-byte characters must
// match exactly.
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  if (prefix.size() > text.size()) return false;
  return LowerCaseCp932(text.substr(0, prefix.size())) == LowerCaseCp932(prefix) &&
         Cp932PrefixLength(text, prefix.size()) == prefix.size();
}

std::u32string RichFromCp932(std::string_view cp932) {
  std::u32string t = Utf8ToUtf32(Cp932ToUtf8(cp932));
  // One character per line break: "\r\n" and a lone "\r" both become "\n".
  std::u32string out;
  out.reserve(t.size());
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == U'\r') {
      out.push_back(U'\n');
      if (i + 1 < t.size() && t[i + 1] == U'\n') ++i;
    } else {
      out.push_back(t[i]);
    }
  }
  return out;
}

std::string Cp932FromRich(std::u32string_view t, bool crlf) {
  std::u32string withBreaks;
  withBreaks.reserve(t.size());
  for (char32_t c : t) {
    if (c == U'\n' && crlf) withBreaks.push_back(U'\r');
    withBreaks.push_back(c);
  }
  return Utf8ToCp932(Utf32ToUtf8(withBreaks));
}

}  // namespace

int ModalDialogDepth() { return g_modalDepth; }
Dialog* ActiveModalDialog() { return g_modalStack.empty() ? nullptr : g_modalStack.back(); }

Dialog::Dialog(int templateId, std::string title, std::vector<ControlSpec> controls, std::vector<MenuItem> menuBar)
    : templateId_(templateId), title_(std::move(title)), menuBar_(std::move(menuBar)) {
  controls_.reserve(controls.size());
  for (ControlSpec& decl : controls) {
    ControlState c;
    c.text = decl.caption;
    c.limit = decl.limit;
    c.decl = std::move(decl);
    controls_.push_back(std::move(c));
  }
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const int id = controls_[i].decl.id;
    if (id != -1) index_.emplace(id, i);  // the first of a duplicated id wins
  }
  std::unordered_map<int, int> setOfGroup;
  radioSet_.assign(controls_.size(), 0);
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const ControlSpec& decl = controls_[i].decl;
    if (decl.kind != ControlKind::RadioButton) continue;
    if (decl.style & control_style::kGroupStart) ++setOfGroup[decl.group];
    radioSet_[i] = setOfGroup[decl.group];
  }
}

Dialog::~Dialog() { Detach(); }

// --- life ---

int Dialog::DoModal() {
  ++g_modalDepth;
  g_modalStack.push_back(this);
  const int code = CurrentBackend().RunModal(*this);
  g_modalStack.pop_back();
  --g_modalDepth;
  Detach();
  open_ = false;
  return code;
}

bool Dialog::CreateModeless(Frame* owner) { return CurrentBackend().CreateModeless(*this, owner); }

void Dialog::DestroyWindow() {
  Detach();
  open_ = false;
}

void Dialog::Attach(std::unique_ptr<DialogHost> host) {
  Detach();
  host_ = std::move(host);
}

void Dialog::Detach() {
  if (!host_) return;
  for (const auto& [id, kind] : timers_) host_->StopTimer(id);
  timers_.clear();
  host_.reset();
}

void Dialog::Open() {
  open_ = true;
  ended_ = false;
  endCode_ = 0;
  focused_ = 0;
  const bool defaultFocus = OnInit();
  if (ended_) return;
  if (defaultFocus && focused_ == 0) {
    for (const ControlState& c : controls_) {
      if (TakesFocus(c)) {
        SetFocus(c.decl.id);
        break;
      }
    }
  }
  if (!ended_) OnShow();
}

void Dialog::EndDialog(int code) {
  if (ended_) return;
  ended_ = true;
  endCode_ = code;
  if (host_) {
    for (const auto& [id, kind] : timers_) host_->StopTimer(id);
  }
  timers_.clear();
  if (host_) host_->Ended(code);
}

void Dialog::SetTitle(std::string_view cp932) {
  title_ = std::string(cp932);
  if (host_) host_->RefreshTitle();
}

// --- lookup ---

ControlState* Dialog::Find(int id) {
  auto it = index_.find(id);
  return it == index_.end() ? nullptr : &controls_[it->second];
}

const ControlState* Dialog::Find(int id) const {
  auto it = index_.find(id);
  return it == index_.end() ? nullptr : &controls_[it->second];
}

const ControlState* Dialog::Control(int id) const { return Find(id); }

ControlState* Dialog::Accepting(int id) {
  if (!open_ || ended_) return nullptr;
  ControlState* c = Find(id);
  if (!c || !c->enabled || !c->visible) return nullptr;
  return c;
}

void Dialog::Changed(int id, ControlChange what) {
  if (host_) host_->Refresh(id, what);
}

bool Dialog::TakesFocus(const ControlState& c) const {
  if (!c.enabled || !c.visible || c.decl.id == -1) return false;
  switch (c.decl.kind) {
    case ControlKind::StaticText:
    case ControlKind::GroupBox:
      return false;
    default:
      return true;
  }
}

// --- plain values ---

void Dialog::SetText(int id, std::string_view cp932) {
  ControlState* c = Find(id);
  if (!c) return;
  if (c->decl.kind == ControlKind::RichEdit) {
    c->richText = RichFromCp932(cp932);
    c->selectionStart = c->selectionEnd = 0;
  } else {
    c->text = std::string(cp932);
    if (c->decl.kind == ControlKind::ComboBox && (c->decl.style & control_style::kDropList)) {
      // A drop list shows only its items: the text selects the matching one.
      auto it = std::find(c->items.begin(), c->items.end(), c->text);
      c->selection = it == c->items.end() ? -1 : static_cast<int>(it - c->items.begin());
    }
  }
  Changed(id, ControlChange::Text);
}

std::string Dialog::GetText(int id) const {
  const ControlState* c = Find(id);
  if (!c) return {};
  if (c->decl.kind == ControlKind::RichEdit) return Cp932FromRich(c->richText, true);
  if (c->decl.kind == ControlKind::ComboBox && (c->decl.style & control_style::kDropList))
    return c->selection >= 0 ? c->items[static_cast<std::size_t>(c->selection)] : std::string();
  return c->text;
}

void Dialog::SetCheck(int id, int state) {
  ControlState* c = Find(id);
  if (!c) return;
  c->check = std::clamp(state, 0, 2);
  Changed(id, ControlChange::Check);
}

int Dialog::GetCheck(int id) const {
  const ControlState* c = Find(id);
  return c ? c->check : 0;
}

void Dialog::Enable(int id, bool on) {
  ControlState* c = Find(id);
  if (!c || c->enabled == on) return;
  c->enabled = on;
  Changed(id, ControlChange::Enabled);
}

bool Dialog::IsEnabled(int id) const {
  const ControlState* c = Find(id);
  return c && c->enabled;
}

void Dialog::Show(int id, bool on) {
  ControlState* c = Find(id);
  if (!c || c->visible == on) return;
  c->visible = on;
  Changed(id, ControlChange::Visible);
}

bool Dialog::IsVisible(int id) const {
  const ControlState* c = Find(id);
  return c && c->visible;
}

void Dialog::SetLimit(int id, int bytes) {
  ControlState* c = Find(id);
  if (!c) return;
  c->limit = std::max(0, bytes);
  Changed(id, ControlChange::Range);
}

// --- items ---

int Dialog::AddItem(int id, std::string_view cp932) { return InsertItem(id, -1, cp932); }

int Dialog::InsertItem(int id, int index, std::string_view cp932) {
  ControlState* c = Find(id);
  if (!c) return -1;
  const int count = static_cast<int>(c->items.size());
  if (index < 0 || index > count) index = count;
  c->items.insert(c->items.begin() + index, std::string(cp932));
  if (c->selection >= index) ++c->selection;
  for (int& r : c->selectedRows)
    if (r >= index) ++r;
  Changed(id, ControlChange::Items);
  return index;
}

bool Dialog::DeleteItem(int id, int index) {
  ControlState* c = Find(id);
  if (!c || index < 0 || index >= static_cast<int>(c->items.size())) return false;
  c->items.erase(c->items.begin() + index);
  if (c->selection == index)
    c->selection = -1;
  else if (c->selection > index)
    --c->selection;
  std::erase(c->selectedRows, index);
  for (int& r : c->selectedRows)
    if (r > index) --r;
  Changed(id, ControlChange::Items);
  return true;
}

void Dialog::ResetContent(int id) {
  ControlState* c = Find(id);
  if (!c) return;
  c->items.clear();
  c->rows.clear();
  c->selection = -1;
  c->selectedRows.clear();
  Changed(id, ControlChange::Items);
}

int Dialog::GetCount(int id) const {
  const ControlState* c = Find(id);
  if (!c) return 0;
  return static_cast<int>(c->decl.kind == ControlKind::ListControl ? c->rows.size() : c->items.size());
}

std::string Dialog::GetItemText(int id, int index) const {
  const ControlState* c = Find(id);
  if (!c) return {};
  if (c->decl.kind == ControlKind::ListControl) return GetCellText(id, index, 0);
  if (index < 0 || index >= static_cast<int>(c->items.size())) return {};
  return c->items[static_cast<std::size_t>(index)];
}

bool Dialog::SetCurSel(int id, int index) {
  ControlState* c = Find(id);
  if (!c) return false;
  const int count = GetCount(id);
  if (index < -1 || index >= count) return false;
  c->selection = index;
  if (c->decl.kind == ControlKind::ComboBox && index >= 0) c->text = c->items[static_cast<std::size_t>(index)];
  Changed(id, ControlChange::Selection);
  return true;
}

int Dialog::GetCurSel(int id) const {
  const ControlState* c = Find(id);
  return c ? c->selection : -1;
}

void Dialog::SetSel(int id, int index, bool selected) {
  ControlState* c = Find(id);
  if (!c || index < 0 || index >= GetCount(id)) return;
  auto it = std::find(c->selectedRows.begin(), c->selectedRows.end(), index);
  if (selected && it == c->selectedRows.end()) c->selectedRows.push_back(index);
  if (!selected && it != c->selectedRows.end()) c->selectedRows.erase(it);
  Changed(id, ControlChange::Selection);
}

std::vector<int> Dialog::GetSelectedRows(int id) const {
  const ControlState* c = Find(id);
  if (!c) return {};
  if (c->decl.style & control_style::kMultiSelect) return c->selectedRows;
  return c->selection >= 0 ? std::vector<int>{c->selection} : std::vector<int>{};
}

int Dialog::FindPrefix(int id, std::string_view prefix, int after) const {
  const ControlState* c = Find(id);
  if (!c) return -1;
  const int count = static_cast<int>(c->items.size());
  for (int k = 1; k <= count; ++k) {
    const int i = ((after < 0 ? -1 : after) + k) % count;
    if (StartsWithIgnoreCase(c->items[static_cast<std::size_t>(i)], prefix)) return i;
  }
  return -1;
}

int Dialog::SelectPrefix(int id, std::string_view prefix) {
  const int i = FindPrefix(id, prefix);
  if (i >= 0) SetCurSel(id, i);
  return i;
}

// --- list control ---

void Dialog::InsertColumn(int id, int column, std::string_view caption, int width) {
  ControlState* c = Find(id);
  if (!c) return;
  const int count = static_cast<int>(c->columns.size());
  if (column < 0 || column > count) column = count;
  c->columns.insert(c->columns.begin() + column, ListColumn{std::string(caption), width});
  for (auto& row : c->rows)
    if (static_cast<int>(row.size()) > column) row.insert(row.begin() + column, std::string());
  Changed(id, ControlChange::Items);
}

int Dialog::InsertRow(int id, int row, std::string_view firstCell) {
  ControlState* c = Find(id);
  if (!c) return -1;
  const int count = static_cast<int>(c->rows.size());
  if (row < 0 || row > count) row = count;
  c->rows.insert(c->rows.begin() + row, std::vector<std::string>{std::string(firstCell)});
  if (c->selection >= row) ++c->selection;
  Changed(id, ControlChange::Items);
  return row;
}

void Dialog::SetCellText(int id, int row, int column, std::string_view cp932) {
  ControlState* c = Find(id);
  if (!c || row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0) return;
  auto& cells = c->rows[static_cast<std::size_t>(row)];
  if (static_cast<int>(cells.size()) <= column) cells.resize(static_cast<std::size_t>(column) + 1);
  cells[static_cast<std::size_t>(column)] = std::string(cp932);
  Changed(id, ControlChange::Items);
}

std::string Dialog::GetCellText(int id, int row, int column) const {
  const ControlState* c = Find(id);
  if (!c || row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0) return {};
  const auto& cells = c->rows[static_cast<std::size_t>(row)];
  return column < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(column)] : std::string();
}

bool Dialog::DeleteRow(int id, int row) {
  ControlState* c = Find(id);
  if (!c || row < 0 || row >= static_cast<int>(c->rows.size())) return false;
  c->rows.erase(c->rows.begin() + row);
  if (c->selection == row)
    c->selection = -1;
  else if (c->selection > row)
    --c->selection;
  Changed(id, ControlChange::Items);
  return true;
}

int Dialog::GetColumnCount(int id) const {
  const ControlState* c = Find(id);
  return c ? static_cast<int>(c->columns.size()) : 0;
}

// --- positions ---

void Dialog::SetRange(int id, int minimum, int maximum) {
  ControlState* c = Find(id);
  if (!c) return;
  if (minimum > maximum) std::swap(minimum, maximum);
  c->rangeMin = minimum;
  c->rangeMax = maximum;
  c->position = std::clamp(c->position, minimum, maximum);
  Changed(id, ControlChange::Range);
}

void Dialog::SetPos(int id, int position) {
  ControlState* c = Find(id);
  if (!c) return;
  c->position = std::clamp(position, c->rangeMin, c->rangeMax);
  Changed(id, ControlChange::Range);
}

void Dialog::SetSteps(int id, int line, int page) {
  ControlState* c = Find(id);
  if (!c) return;
  c->lineStep = line;
  c->pageStep = page;
  Changed(id, ControlChange::Range);
}

int Dialog::GetPos(int id) const {
  const ControlState* c = Find(id);
  return c ? c->position : 0;
}

void Dialog::SetTick(int id, int position) {
  ControlState* c = Find(id);
  if (!c) return;
  if (std::find(c->ticks.begin(), c->ticks.end(), position) == c->ticks.end()) c->ticks.push_back(position);
  Changed(id, ControlChange::Range);
}

void Dialog::SetImage(int id, const Bitmap& image) {
  ControlState* c = Find(id);
  if (!c) return;
  c->image = image;
  Changed(id, ControlChange::Image);
}

// --- rich edit ---

void Dialog::StreamIn(int id, std::string_view cp932) {
  ControlState* c = Find(id);
  if (!c) return;
  c->richText = RichFromCp932(cp932);
  if (c->limit > 0 && static_cast<int>(c->richText.size()) > c->limit)
    c->richText.resize(static_cast<std::size_t>(c->limit));
  c->selectionStart = c->selectionEnd = 0;
  c->modified = false;
  Changed(id, ControlChange::Text);
}

std::string Dialog::StreamOut(int id) const {
  const ControlState* c = Find(id);
  return c ? Cp932FromRich(c->richText, true) : std::string();
}

void Dialog::SetSelection(int id, int start, int end) {
  ControlState* c = Find(id);
  if (!c) return;
  const int length = c->decl.kind == ControlKind::RichEdit ? static_cast<int>(c->richText.size())
                                                           : static_cast<int>(Utf8ToUtf32(Cp932ToUtf8(c->text)).size());
  if (end < 0 || end > length) end = length;
  start = std::clamp(start, 0, length);
  if (start > end) std::swap(start, end);
  c->selectionStart = start;
  c->selectionEnd = end;
  Changed(id, ControlChange::Selection);
}

std::pair<int, int> Dialog::GetSelection(int id) const {
  const ControlState* c = Find(id);
  return c ? std::pair{c->selectionStart, c->selectionEnd} : std::pair{0, 0};
}

std::string Dialog::GetSelectedText(int id) const {
  const ControlState* c = Find(id);
  if (!c || c->decl.kind != ControlKind::RichEdit) return {};
  return Cp932FromRich(std::u32string_view(c->richText)
                           .substr(static_cast<std::size_t>(c->selectionStart),
                                   static_cast<std::size_t>(c->selectionEnd - c->selectionStart)),
                       true);
}

void Dialog::ReplaceSelection(int id, std::string_view cp932) {
  ControlState* c = Find(id);
  if (!c || c->decl.kind != ControlKind::RichEdit) return;
  std::u32string insert = RichFromCp932(cp932);
  const std::size_t kept = c->richText.size() - static_cast<std::size_t>(c->selectionEnd - c->selectionStart);
  // The text limit holds for replacements too: what does not fit is cut.
  if (c->limit > 0 && kept + insert.size() > static_cast<std::size_t>(c->limit))
    insert.resize(static_cast<std::size_t>(c->limit) > kept ? static_cast<std::size_t>(c->limit) - kept : 0);
  c->richText.replace(static_cast<std::size_t>(c->selectionStart),
                      static_cast<std::size_t>(c->selectionEnd - c->selectionStart), insert);
  c->selectionStart += static_cast<int>(insert.size());
  c->selectionEnd = c->selectionStart;
  c->modified = true;
  Changed(id, ControlChange::Text);
}

int Dialog::FindText(int id, std::string_view what, int from, int to) const {
  const ControlState* c = Find(id);
  if (!c || what.empty()) return -1;
  const std::u32string needle = RichFromCp932(what);
  const int length = static_cast<int>(c->richText.size());
  if (to < 0 || to > length) to = length;
  from = std::clamp(from, 0, length);
  if (from >= to) return -1;
  const std::u32string_view range = std::u32string_view(c->richText).substr(0, static_cast<std::size_t>(to));
  const std::size_t at = range.find(needle, static_cast<std::size_t>(from));
  return at == std::u32string_view::npos ? -1 : static_cast<int>(at);
}

int Dialog::LineFromChar(int id, int position) const {
  const ControlState* c = Find(id);
  if (!c) return 0;
  const int length = static_cast<int>(c->richText.size());
  position = std::clamp(position, 0, length);
  return static_cast<int>(std::count(c->richText.begin(), c->richText.begin() + position, U'\n'));
}

int Dialog::GetTextLength(int id) const {
  const ControlState* c = Find(id);
  if (!c) return 0;
  return c->decl.kind == ControlKind::RichEdit ? static_cast<int>(c->richText.size())
                                               : static_cast<int>(c->text.size());
}

void Dialog::SetModified(int id, bool modified) {
  ControlState* c = Find(id);
  if (c) c->modified = modified;
}

bool Dialog::IsModified(int id) const {
  const ControlState* c = Find(id);
  return c && c->modified;
}

// --- focus and timers ---

void Dialog::SetFocus(int id) {
  ControlState* c = Find(id);
  if (!c || !TakesFocus(*c) || focused_ == id || !open_ || ended_) return;
  const int previous = focused_;
  focused_ = id;
  if (host_) host_->FocusControl(id);
  if (previous != 0) OnFocusLost(previous);
  if (ended_ || focused_ != id) return;  // the lost-focus handler ended the dialog or moved the focus
  OnFocusGained(id);
}

void Dialog::NextControl(bool previous) {
  const int count = static_cast<int>(controls_.size());
  if (count == 0) return;
  int at = -1;
  if (focused_ != 0) {
    auto it = index_.find(focused_);
    if (it != index_.end()) at = static_cast<int>(it->second);
  }
  for (int k = 1; k <= count; ++k) {
    const int i = ((at < 0 ? (previous ? 0 : -1) : at) + (previous ? -k : k) + 2 * count) % count;
    if (TakesFocus(controls_[static_cast<std::size_t>(i)])) {
      SetFocus(controls_[static_cast<std::size_t>(i)].decl.id);
      return;
    }
  }
}

void Dialog::SetTimer(int timerId, int milliseconds, TimerKind kind) {
  timers_[timerId] = kind;
  if (host_) host_->StartTimer(timerId, milliseconds, kind);
}

void Dialog::KillTimer(int timerId) {
  if (timers_.erase(timerId) && host_) host_->StopTimer(timerId);
}

void Dialog::RedrawItem(int id) {
  if (host_) host_->RedrawItem(id);
}

// --- input ---

bool Dialog::UserFocus(int id) {
  ControlState* c = Accepting(id);
  if (!c || !TakesFocus(*c)) return false;
  SetFocus(id);
  return true;
}

bool Dialog::UserClick(int id) {
  ControlState* c = Accepting(id);
  if (!c) return false;
  const ControlKind kind = c->decl.kind;
  if (kind == ControlKind::StaticText || kind == ControlKind::GroupBox) return false;
  SetFocus(id);  // a click takes the focus first, as the pointer does
  if (ended_) return true;
  c = Find(id);
  if (kind == ControlKind::CheckBox) {
    c->check = c->check == 1 ? 0 : 1;
    Changed(id, ControlChange::Check);
  } else if (kind == ControlKind::RadioButton) {
    const std::size_t self = index_.at(id);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
      ControlState& other = controls_[i];
      if (other.decl.kind == ControlKind::RadioButton && other.decl.group == c->decl.group &&
          radioSet_[i] == radioSet_[self] && other.check != 0 && i != self) {
        other.check = 0;
        Changed(other.decl.id, ControlChange::Check);
      }
    }
    c->check = 1;
    Changed(id, ControlChange::Check);
  }
  if (IsButtonKind(kind) && id == kIdOk)
    OnOk();
  else if (IsButtonKind(kind) && id == kIdCancel)
    OnCancel();
  else
    OnClick(id);
  return true;
}

bool Dialog::UserType(int id, std::string_view cp932) {
  ControlState* c = Accepting(id);
  if (!c) return false;
  const ControlKind kind = c->decl.kind;
  const bool editable = kind == ControlKind::Edit || kind == ControlKind::RichEdit ||
                        (kind == ControlKind::ComboBox && !(c->decl.style & control_style::kDropList));
  if (!editable || (c->decl.style & control_style::kReadOnly)) return false;
  SetFocus(id);
  if (ended_) return true;
  c = Find(id);
  if (kind == ControlKind::RichEdit) {
    ReplaceSelection(id, cp932);
  } else {
    std::string text = (c->decl.style & control_style::kLowerCase) ? LowerCaseCp932(cp932) : std::string(cp932);
    if (c->limit > 0) text.resize(Cp932PrefixLength(text, static_cast<std::size_t>(c->limit)));
    c->text = std::move(text);
    Changed(id, ControlChange::Text);
  }
  OnTextChanged(id);
  return true;
}

bool Dialog::UserSelect(int id, int row) {
  ControlState* c = Accepting(id);
  if (!c) return false;
  const ControlKind kind = c->decl.kind;
  if (!IsListKind(kind) && kind != ControlKind::ListControl) return false;
  if (row < -1 || row >= GetCount(id)) return false;
  if (kind != ControlKind::TabControl) SetFocus(id);
  if (ended_) return true;
  c = Find(id);
  if (c->decl.style & control_style::kMultiSelect) {
    // A plain click selects this row alone.
    c->selectedRows.clear();
    if (row >= 0) c->selectedRows.push_back(row);
  }
  c->selection = row;
  if (kind == ControlKind::ComboBox && row >= 0) c->text = c->items[static_cast<std::size_t>(row)];
  Changed(id, ControlChange::Selection);
  OnSelectionChanged(id);
  return true;
}

bool Dialog::UserToggleSelection(int id, int row) {
  ControlState* c = Accepting(id);
  if (!c || !(c->decl.style & control_style::kMultiSelect) || row < 0 || row >= GetCount(id)) return false;
  SetFocus(id);
  if (ended_) return true;
  c = Find(id);
  auto it = std::find(c->selectedRows.begin(), c->selectedRows.end(), row);
  if (it == c->selectedRows.end())
    c->selectedRows.push_back(row);
  else
    c->selectedRows.erase(it);
  c->selection = row;
  Changed(id, ControlChange::Selection);
  OnSelectionChanged(id);
  return true;
}

bool Dialog::UserDoubleClick(int id, int row) {
  ControlState* c = Accepting(id);
  if (!c) return false;
  if ((IsListKind(c->decl.kind) || c->decl.kind == ControlKind::ListControl) && row >= 0) {
    if (!UserSelect(id, row)) return false;
    if (ended_) return true;
  } else {
    SetFocus(id);
    if (ended_) return true;
  }
  OnDoubleClick(id);
  return true;
}

bool Dialog::UserScroll(int id, int position) {
  ControlState* c = Accepting(id);
  if (!c) return false;
  const ControlKind kind = c->decl.kind;
  if (kind != ControlKind::ScrollBar && kind != ControlKind::Slider && kind != ControlKind::Spin) return false;
  c->position = std::clamp(position, c->rangeMin, c->rangeMax);
  Changed(id, ControlChange::Range);
  OnScroll(id);
  return true;
}

bool Dialog::UserKey(int id, int key, unsigned modifiers) {
  if (!open_ || ended_) return false;
  return OnKeyDown(id, key, modifiers);
}

bool Dialog::UserWheel(int id, int delta) {
  if (!open_ || ended_ || delta == 0) return false;
  return OnMouseWheel(id, delta);
}

bool Dialog::UserCommand(int commandId) {
  if (!open_ || ended_) return false;
  OnCommand(commandId);
  return true;
}

bool Dialog::UserEnter() {
  if (!open_ || ended_) return false;
  const ControlState* focused = Find(focused_);
  if (focused && focused->decl.kind == ControlKind::RichEdit && !(focused->decl.style & control_style::kReadOnly)) {
    ReplaceSelection(focused_, "\n");
    OnTextChanged(focused_);
    return true;
  }
  if (focused && focused->decl.kind == ControlKind::Edit && (focused->decl.style & control_style::kWantReturn))
    return true;  // the edit takes the line break itself
  // Enter presses the focused push button, else the default button, else OK.
  if (focused && (focused->decl.kind == ControlKind::PushButton || focused->decl.kind == ControlKind::BitmapButton ||
                  focused->decl.kind == ControlKind::OwnerDrawButton))
    return UserClick(focused_);
  for (const ControlState& c : controls_) {
    if ((c.decl.style & control_style::kDefaultButton) && c.decl.id != kIdOk && c.enabled && c.visible)
      return UserClick(c.decl.id);
  }
  OnOk();
  return true;
}

bool Dialog::UserEscape() {
  if (!open_ || ended_) return false;
  OnCancel();
  return true;
}

bool Dialog::UserTimer(int timerId) {
  if (!open_ || ended_) return false;
  auto it = timers_.find(timerId);
  if (it == timers_.end()) return false;
  if (it->second == TimerKind::OneShot) {
    timers_.erase(it);
    if (host_) host_->StopTimer(timerId);
  }
  OnTimer(timerId);
  return true;
}

bool Dialog::UserSetSelection(int id, int start, int end) {
  if (!Accepting(id)) return false;
  SetSelection(id, start, end);
  return true;
}

bool Dialog::UserReplaceText(int id, std::string_view cp932) {
  ControlState* c = Accepting(id);
  if (!c || c->decl.kind != ControlKind::RichEdit) return UserType(id, cp932);
  if (c->decl.style & control_style::kReadOnly) return false;
  std::u32string text = RichFromCp932(cp932);
  if (c->limit > 0 && text.size() > static_cast<std::size_t>(c->limit)) text.resize(static_cast<std::size_t>(c->limit));
  c->richText = std::move(text);
  const int length = static_cast<int>(c->richText.size());
  c->selectionStart = std::min(c->selectionStart, length);
  c->selectionEnd = std::min(c->selectionEnd, length);
  c->modified = true;
  Changed(id, ControlChange::Text);
  OnTextChanged(id);
  return true;
}

void Dialog::PaintItem(int id, DeviceContext& dc, const OwnerDrawItem& item) {
  const ControlState* c = Find(id);
  if (!c || c->decl.kind != ControlKind::OwnerDrawButton) return;
  OnDrawItem(id, dc, item);
}

}  // namespace platform
