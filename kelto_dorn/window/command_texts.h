#pragma once
// The text of each command id as menus and bars show it (CP932); bars use it
// as the tool tip too.
#include <string>

namespace dorn {

// The caption of a command; the id as digits for a command without one.
std::string CommandCaption(int id);
bool HasCommandCaption(int id);

}  // namespace dorn
