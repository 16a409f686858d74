#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qilo {

// GBK bytes of the program to the screen's text; bytes that do not convert
// show as U+FFFD.
QString FromGbk(std::string_view gbk);

// What the user typed or pasted, as the GBK bytes the program keeps.
std::string ToGbk(const QString& text);

// A hint as a tooltip: its "\r\n" is a line break.
QString HintText(std::string_view gbk);

}  // namespace qilo
