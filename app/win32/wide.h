#pragma once

#include <string>

namespace qilo {

// GBK bytes to UTF-16 for the W functions, and back for what the user typed;
// a character GBK cannot hold becomes "?".
std::wstring WideFromGbk(const std::string& gbk);
std::string GbkFromWide(const std::wstring& wide);
std::wstring WideFromUtf8(const char* utf8);

}  // namespace qilo
