#pragma once
// CP932 text of the system <-> QString of the widgets, and colours.
#include <QColor>
#include <QString>
#include <string>
#include <string_view>

#include "platform/color.h"
#include "platform/text.h"

namespace platform::qt {

inline QString ToQString(std::string_view cp932) { return QString::fromStdString(Cp932ToUtf8(cp932)); }
inline std::string FromQString(const QString& s) { return Utf8ToCp932(s.toStdString()); }

inline QColor ToQColor(Color c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }
inline Color FromQColor(const QColor& c) { return Rgb(c.red(), c.green(), c.blue()); }

}  // namespace platform::qt
