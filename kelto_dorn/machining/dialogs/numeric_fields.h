#pragma once
// The numeric edit fields of the definition dialogs. A dialog keeps the
// number of the field that holds uncommitted text; that text goes through
// ParseNumber into the record when another field gains the focus, when a
// button of the dialog runs (the focus then stays), or on Enter (which moves
// the focus on). Losing the focus alone commits nothing; an empty text
// leaves the value unchanged.
#include <functional>
#include <string>
#include <vector>

#include "platform/dialog.h"

namespace dorn {

struct NumericField {
  int controlId = 0;
  // Stores the parsed value (the setter truncates or narrows).
  std::function<void(double)> store;
  // The text the field shows.
  std::function<std::string()> show;
};

class NumericFieldSet {
 public:
  void Add(NumericField field) { fields_.push_back(std::move(field)); }

  // The field of a control, or null.
  const NumericField* Find(int controlId) const;

  // A control gained the focus: the field that held the focus is committed
  // first; a numeric field becomes the focused one. True when the control
  // is one of the fields.
  bool FocusGained(platform::Dialog& dialog, int controlId);

  // Commits the focused field, if any (its text parsed and stored), and
  // forgets it. True when a value was stored.
  bool Commit(platform::Dialog& dialog);

  int Focused() const { return focused_; }
  void Forget() { focused_ = 0; }

  // Shows every field's text.
  void ShowAll(platform::Dialog& dialog) const;

 private:
  std::vector<NumericField> fields_;
  int focused_ = 0;
};

// " %s" of FormatNumber4 (CP932).
std::string NumberText(double value);
// " %d".
std::string IntText(long long value);

}  // namespace dorn
