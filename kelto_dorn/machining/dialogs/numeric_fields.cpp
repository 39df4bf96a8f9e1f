#include "kelto_dorn/machining/dialogs/numeric_fields.h"

#include <cmath>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/number_text.h"

namespace dorn {

const NumericField* NumericFieldSet::Find(int controlId) const {
  for (const NumericField& f : fields_) {
    if (f.controlId == controlId) return &f;
  }
  return nullptr;
}

bool NumericFieldSet::FocusGained(platform::Dialog& dialog, int controlId) {
  if (focused_ != controlId) Commit(dialog);
  if (Find(controlId) == nullptr) return false;
  focused_ = controlId;
  return true;
}

bool NumericFieldSet::Commit(platform::Dialog& dialog) {
  const NumericField* field = Find(focused_);
  focused_ = 0;
  if (field == nullptr) return false;
  const std::string text = dialog.GetText(field->controlId);
  if (text.find_first_not_of(' ') == std::string::npos) return false;
  const double value = ParseNumber(text.c_str());
  // A value that is no number (a division by zero) would poison the record.
  if (!std::isfinite(value)) {
    SignalBeep();
    return false;
  }
  field->store(value);
  return true;
}

void NumericFieldSet::ShowAll(platform::Dialog& dialog) const {
  for (const NumericField& f : fields_) {
    if (f.show) dialog.SetText(f.controlId, f.show());
  }
}

std::string NumberText(double value) {
  FormatNumber4(value);
  return std::string(" ") + g_textBuffer;
}

std::string IntText(long long value) { return " " + std::to_string(value); }

}  // namespace dorn
