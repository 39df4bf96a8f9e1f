#pragma once
// Dialogs. A dialog class of the system declares its controls as a table
// (kind, id, caption, group, size) and handles events by control id; its
// logic and the values of its controls live here, the widgets in the backend.
// The desktop backend builds and lays out real widgets bound to this model;
// the headless backend keeps only the model, which tests drive by id.
//
// Text is CP932 bytes. Control values stay readable after the dialog closed.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/application.h"
#include "platform/bitmap.h"
#include "platform/device_context.h"
#include "platform/frame.h"
#include "platform/message_box.h"
#include "platform/view_surface.h"

namespace platform {

enum class ControlKind {
  StaticText,
  Edit,
  PushButton,
  OwnerDrawButton,  // a push button the dialog paints (OnDrawItem)
  CheckBox,
  RadioButton,  // radio buttons of one group exclude each other
  GroupBox,     // a frame; controls whose group is its id sit inside
  ListBox,
  ComboBox,
  ListControl,  // rows of cells under column headers
  TabControl,   // tabs; controls whose group is its id are its pages' content
  ScrollBar,
  Slider,
  Spin,
  BitmapButton,  // a push button that shows an image
  RichEdit,
};

// Styles, or-ed into ControlSpec::style.
namespace control_style {
constexpr unsigned kPassword = 0x0001;       // edit shows bullets
constexpr unsigned kLowerCase = 0x0002;      // edit turns typed letters into lower case
constexpr unsigned kMultiLine = 0x0004;      // edit of several lines
constexpr unsigned kReadOnly = 0x0008;       // edit and rich edit refuse typing
constexpr unsigned kDefaultButton = 0x0010;  // push button drawn as the default
constexpr unsigned kCheckLook = 0x0020;      // push button that shows a check state (pressed look)
constexpr unsigned kMultiSelect = 0x0040;    // list box with several selected rows
constexpr unsigned kDropList = 0x0080;       // combo box without an edit part
constexpr unsigned kTicks = 0x0100;          // slider with tick marks
constexpr unsigned kVertical = 0x0200;       // scroll bar or slider upright
constexpr unsigned kWantReturn = 0x0400;     // multi-line edit: Enter inserts a line
constexpr unsigned kGroupStart = 0x0800;     // radio button that starts a new set within its group
constexpr unsigned kFixedPitch = 0x1000;     // list box of fixed columns: a fixed-pitch font
}  // namespace control_style

struct ControlSpec {
  ControlSpec() = default;
  ControlSpec(ControlKind kind_, int id_, std::string caption_ = {}, int group_ = 0, int width_ = 0, int height_ = 0,
              unsigned style_ = 0, int limit_ = 0, int page_ = 0)
      : kind(kind_),
        id(id_),
        caption(std::move(caption_)),
        group(group_),
        width(width_),
        height(height_),
        style(style_),
        limit(limit_),
        page(page_) {}

  ControlKind kind = ControlKind::StaticText;
  int id = 0;           // control id; static texts may share -1
  std::string caption;  // CP932
  int group = 0;        // id of the group box or tab control it belongs to; also the radio set
                        // (a radio with kGroupStart begins another set in the same group)
  int width = 0;        // optional size hint in pixels (0: as the content needs)
  int height = 0;
  unsigned style = 0;  // control_style bits
  int limit = 0;       // text limit (0: none): bytes for an edit, characters for a rich edit
  int page = 0;        // inside a tab control: the page index
};

struct ListColumn {
  std::string caption;  // CP932
  int width = 80;
};

// The value of one control, as the dialog and the backend share it.
struct ControlState {
  ControlSpec decl;
  std::string text;  // CP932: caption, edit text, combo edit text
  int check = 0;     // 0, 1, 2 (indeterminate)
  bool enabled = true;
  bool visible = true;
  std::vector<std::string> items;              // list box, combo, tab captions
  std::vector<ListColumn> columns;             // list control
  std::vector<std::vector<std::string>> rows;  // list control cells
  int selection = -1;                          // current row or tab, -1 none
  std::vector<int> selectedRows;               // multi-selection, in order of selection
  int rangeMin = 0;
  int rangeMax = 100;
  int position = 0;         // scroll bar, slider, spin
  int lineStep = 0;         // scroll bar and slider: arrow and page moves (0: the backend's own)
  int pageStep = 0;
  std::vector<int> ticks;   // slider tick marks
  int limit = 0;            // as ControlSpec::limit
  Bitmap image;             // bitmap button
  std::u32string richText;  // rich edit, one character per position
  int selectionStart = 0;   // edit and rich edit selection
  int selectionEnd = 0;
  bool modified = false;  // rich edit modified mark
};

// Owner drawing of a button.
struct OwnerDrawItem {
  int controlId = 0;
  Rect rect;  // the whole button, device pixels from its top left
  bool focused = false;
  bool selected = false;  // pressed
  bool disabled = false;
};

// What a control's change means to the widget bound to it.
enum class ControlChange { Text, Check, Enabled, Visible, Items, Selection, Range, Image, All };

// The backend's side of an open dialog.
class DialogHost {
 public:
  virtual ~DialogHost() = default;
  virtual void Refresh(int controlId, ControlChange what) = 0;
  virtual void RefreshTitle() = 0;
  virtual void FocusControl(int controlId) = 0;
  virtual void StartTimer(int timerId, int milliseconds, TimerKind kind) = 0;
  virtual void StopTimer(int timerId) = 0;
  virtual void RedrawItem(int controlId) = 0;
  // The dialog ended with this code: leave the modal loop or hide.
  virtual void Ended(int code) = 0;
};

class Dialog {
 public:
  // templateId is the dialog's resource id (the key of the headless script).
  Dialog(int templateId, std::string titleCp932, std::vector<ControlSpec> controls, std::vector<MenuItem> menuBar = {});
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally and returns its end code.
  int DoModal();
  // Opens the dialog without a modal loop; it stays open until it ends or
  // DestroyWindow. The owner (may be null) closes it when it closes.
  bool CreateModeless(Frame* owner = nullptr);
  void DestroyWindow();
  bool IsOpen() const { return open_; }

  // Ends the dialog from any handler (a focus event included).
  void EndDialog(int code);
  bool HasEnded() const { return ended_; }
  int EndCode() const { return endCode_; }

  int TemplateId() const { return templateId_; }
  const std::vector<MenuItem>& MenuBar() const { return menuBar_; }
  void SetTitle(std::string_view cp932);
  const std::string& Title() const { return title_; }

  // --- controls by id (an unknown id is ignored and reads as empty) ---
  bool HasControl(int id) const { return index_.count(id) != 0; }
  const ControlState* Control(int id) const;
  const std::vector<ControlState>& Controls() const { return controls_; }

  void SetText(int id, std::string_view cp932);
  std::string GetText(int id) const;
  void SetCheck(int id, int state);
  int GetCheck(int id) const;
  void Enable(int id, bool on);
  bool IsEnabled(int id) const;
  void Show(int id, bool on);
  bool IsVisible(int id) const;
  void SetLimit(int id, int bytes);

  // list box, combo box, tab control
  int AddItem(int id, std::string_view cp932);
  int InsertItem(int id, int index, std::string_view cp932);
  bool DeleteItem(int id, int index);
  void ResetContent(int id);
  int GetCount(int id) const;
  std::string GetItemText(int id, int index) const;
  bool SetCurSel(int id, int index);  // -1 clears; false when out of range
  int GetCurSel(int id) const;
  // multi-selection list box: rows in the order they were selected
  void SetSel(int id, int index, bool selected);
  std::vector<int> GetSelectedRows(int id) const;
  // combo box and list box: first item starting with `prefix`, ignoring case
  // of ASCII letters, searching after `after` and wrapping; -1 when none
  int FindPrefix(int id, std::string_view prefixCp932, int after = -1) const;
  int SelectPrefix(int id, std::string_view prefixCp932);

  // list control
  void InsertColumn(int id, int column, std::string_view captionCp932, int width);
  int InsertRow(int id, int row, std::string_view firstCellCp932);
  void SetCellText(int id, int row, int column, std::string_view cp932);
  std::string GetCellText(int id, int row, int column) const;
  bool DeleteRow(int id, int row);
  int GetColumnCount(int id) const;

  // scroll bar, slider, spin
  void SetRange(int id, int minimum, int maximum);
  void SetPos(int id, int position);
  int GetPos(int id) const;
  // What the arrows and the page areas of a scroll bar or slider move by.
  void SetSteps(int id, int line, int page);
  void SetTick(int id, int position);

  void SetImage(int id, const Bitmap& image);

  // rich edit (positions count characters; a line break is one character)
  void StreamIn(int id, std::string_view cp932);  // replaces the text, clears modified
  std::string StreamOut(int id) const;            // CP932 with "\r\n" line ends
  void SetSelection(int id, int start, int end);  // -1 as end: to the end of the text
  std::pair<int, int> GetSelection(int id) const;
  std::string GetSelectedText(int id) const;
  void ReplaceSelection(int id, std::string_view cp932);
  // First match of `what` in [from, to) (to -1: end of text), or -1.
  int FindText(int id, std::string_view whatCp932, int from, int to = -1) const;
  int LineFromChar(int id, int position) const;  // 0-based
  int GetTextLength(int id) const;
  void SetModified(int id, bool modified);
  bool IsModified(int id) const;

  // --- focus and timers ---
  // Moves the focus as the user would: focus-lost and focus-gained run.
  void SetFocus(int id);
  int FocusedControl() const { return focused_; }
  // The next (or previous) enabled, visible control that takes the focus.
  void NextControl(bool previous = false);
  void SetTimer(int timerId, int milliseconds, TimerKind kind = TimerKind::Repeating);
  void KillTimer(int timerId);
  bool HasTimer(int timerId) const { return timers_.count(timerId) != 0; }
  void RedrawItem(int id);

  // The colours the dialog is drawn with; the default asks the program-wide
  // dialog colours (a dialog sets its colour style there first).
  virtual DialogColors Colors() { return CurrentDialogColors(); }

  // --- input, called by the backends and the headless driver. Each returns
  // false when the input was refused (no such control, disabled, hidden, or
  // the dialog already ended). ---
  bool UserClick(int id);
  bool UserFocus(int id);
  bool UserType(int id, std::string_view cp932);
  bool UserSelect(int id, int row);
  bool UserToggleSelection(int id, int row);
  bool UserDoubleClick(int id, int row);
  bool UserScroll(int id, int position);
  bool UserKey(int id, int key, unsigned modifiers);
  bool UserCommand(int commandId);
  bool UserEnter();
  bool UserEscape();
  bool UserTimer(int timerId);
  bool UserSetSelection(int id, int start, int end);
  // The mouse wheel turned with the cursor over control `id` (0: over no
  // control); delta 120 per notch, positive away from the user. True when the
  // dialog used the turn: the control under the cursor then does not scroll.
  bool UserWheel(int id, int delta);
  // The whole text of an edit, combo or rich edit as the user left it (the
  // desktop widgets report edits this way); limits and case rules apply.
  bool UserReplaceText(int id, std::string_view cp932);
  void PaintItem(int id, DeviceContext& dc, const OwnerDrawItem& item);

  // --- binding with the backend ---
  void Attach(std::unique_ptr<DialogHost> host);
  void Detach();
  DialogHost* Host() const { return host_.get(); }
  // Opens the model: OnInit, the initial focus, then OnShow. Called by the
  // backend once attached.
  void Open();

 protected:
  // Returns true to let the first control that takes the focus have it, false
  // when the dialog set the focus itself (or wants none).
  virtual bool OnInit() { return true; }
  virtual void OnShow() {}
  virtual void OnClick(int id) { (void)id; }
  virtual void OnFocusGained(int id) { (void)id; }
  virtual void OnFocusLost(int id) { (void)id; }
  virtual void OnTextChanged(int id) { (void)id; }
  virtual void OnSelectionChanged(int id) { (void)id; }
  virtual void OnDoubleClick(int id) { (void)id; }
  virtual void OnScroll(int id) { (void)id; }
  virtual void OnTimer(int timerId) { (void)timerId; }
  virtual void OnCommand(int commandId) { (void)commandId; }
  // A key pressed in a control; true when handled (the control then ignores it).
  virtual bool OnKeyDown(int id, int key, unsigned modifiers) {
    (void)id, (void)key, (void)modifiers;
    return false;
  }
  virtual void OnDrawItem(int id, DeviceContext& dc, const OwnerDrawItem& item) { (void)id, (void)dc, (void)item; }
  // The wheel over control `id` (0: none); true when handled (see UserWheel).
  virtual bool OnMouseWheel(int id, int delta) {
    (void)id, (void)delta;
    return false;
  }
  // Enter and Esc reach the dialog first; the defaults end with 1 and 2.
  virtual void OnOk() { EndDialog(kIdOk); }
  virtual void OnCancel() { EndDialog(kIdCancel); }

 private:
  ControlState* Find(int id);
  const ControlState* Find(int id) const;
  ControlState* Accepting(int id);  // exists, enabled, visible, dialog running
  void Changed(int id, ControlChange what);
  bool TakesFocus(const ControlState& c) const;

  int templateId_;
  std::string title_;
  std::vector<ControlState> controls_;
  std::vector<int> radioSet_;  // per control: which set of radio buttons within its group
  std::unordered_map<int, std::size_t> index_;
  std::vector<MenuItem> menuBar_;
  std::map<int, TimerKind> timers_;
  std::unique_ptr<DialogHost> host_;
  int focused_ = 0;
  bool open_ = false;
  bool ended_ = false;
  int endCode_ = 0;
};

// How many modal dialogs are open (nesting depth), across the program.
int ModalDialogDepth();
// The innermost modal dialog that is running, or null (a test answers the
// question a program asks deep inside a command this way).
Dialog* ActiveModalDialog();

}  // namespace platform
