// TextRecord helpers: see text_record.h.
#include "kelto_dorn/app/text_record.h"

#include "platform/text.h"

namespace dorn {

void SetTextRecordText(TextRecord& record, std::string_view cp932Text) {
  // 59 bytes at most, never half a double-byte character, always terminated;
  // the group number at +92 lies outside the field and stays as it is.
  platform::SetFieldText(record.text, cp932Text);
}

}  // namespace dorn
