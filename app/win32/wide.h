#pragma once

#include <string>

namespace qilo {

// GBK bytes to UTF-16 for the W functions, and back for what the user typed;
// a character GBK cannot hold becomes "?".
std::wstring WideFromGbk(const std::string& gbk);
std::string GbkFromWide(const std::wstring& wide);
std::wstring WideFromUtf8(const char* utf8);
// True when GBK has a code of its own for every character (no "?", no
// best-fit stand-in); a lone surrogate has none.
bool GbkHoldsWide(const std::wstring& wide);

}  // namespace qilo
