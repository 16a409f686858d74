#include "feed/http_text.h"

#include <cctype>

#include "calc/number_text.h"

namespace qilo {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int DigitsValue(std::string_view text) {
  int value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

// The value part of `line` when its name is `name`: the bytes after the colon.
bool ValueIfNamed(std::string_view line, std::string_view name,
                  std::string_view* value) {
  size_t colon = line.find(':');
  std::string_view line_name =
      colon == std::string_view::npos ? "" : line.substr(0, colon);
  if (!SameText(line_name, name)) return false;
  *value = colon == std::string_view::npos ? "" : line.substr(colon + 1);
  return true;
}

std::string JoinedValue(const THeaderList& lines, size_t index,
                        std::string_view first) {
  std::string value(first);
  for (size_t next = index + 1; next < lines.size(); ++next) {
    const std::string& line = lines[next];
    if (line.empty() || (line[0] != ' ' && line[0] != '\t')) break;
    value = TrimBlanks(value) + " " + TrimBlanks(line);
  }
  return TrimBlanks(value);
}

}  // namespace

std::optional<int32_t> TextToInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' &&
             (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  if (hex) {
    uint32_t value = 0;
    int significant = 0;
    for (; i < text.size(); ++i) {
      int digit = HexDigit(text[i]);
      if (digit < 0) return std::nullopt;
      if (significant > 0 || digit != 0) ++significant;
      if (significant > 8) return std::nullopt;
      value = value << 4 | static_cast<uint32_t>(digit);
    }
    // Two's complement on purpose: $FFFFFFFF is -1, and "-" negates that.
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
  }
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > int64_t{2147483648}) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::string HeaderValue(const THeaderList& lines, std::string_view name) {
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view value;
    if (ValueIfNamed(lines[i], name, &value))
      return JoinedValue(lines, i, value);
  }
  return "";
}

std::vector<std::string> HeaderValues(const THeaderList& lines,
                                      std::string_view name) {
  std::vector<std::string> values;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view value;
    if (ValueIfNamed(lines[i], name, &value))
      values.push_back(JoinedValue(lines, i, value));
  }
  return values;
}

int64_t InternetDateToUnix(std::string_view text) {
  static const char* const kMonths[] = {"jan", "feb", "mar", "apr",
                                        "may", "jun", "jul", "aug",
                                        "sep", "oct", "nov", "dec"};
  int day = -1, month = -1, year = -1, hour = -1, minute = 0, second = 0;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == ',' ||
                               text[i] == '-' || text[i] == '\t')) {
      ++i;
    }
    size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != ',' &&
           text[i] != '-' && text[i] != '\t') {
      ++i;
    }
    std::string_view token = text.substr(start, i - start);
    if (token.empty()) continue;
    if (token.find(':') != std::string_view::npos) {
      size_t first = token.find(':');
      size_t second_colon = token.find(':', first + 1);
      std::string_view h = token.substr(0, first);
      std::string_view m =
          token.substr(first + 1, second_colon == std::string_view::npos
                                      ? std::string_view::npos
                                      : second_colon - first - 1);
      std::string_view s = second_colon == std::string_view::npos
                               ? "0"
                               : token.substr(second_colon + 1);
      if (!AllDigits(h) || !AllDigits(m) || !AllDigits(s) || h.size() > 2 ||
          m.size() > 2 || s.size() > 2) {
        return 0;
      }
      hour = DigitsValue(h);
      minute = DigitsValue(m);
      second = DigitsValue(s);
    } else if (AllDigits(token)) {
      if (token.size() <= 2 && day < 0) {
        day = DigitsValue(token);
      } else if (year < 0 && (token.size() == 2 || token.size() == 4)) {
        year = DigitsValue(token);
        if (token.size() == 2) year += year < 50 ? 2000 : 1900;
      }
    } else if (token.size() >= 3 &&
               std::isalpha(static_cast<unsigned char>(token[0]))) {
      for (int m = 0; m < 12; ++m) {
        if (SameText(token.substr(0, 3), kMonths[m]) && month < 0)
          month = m + 1;
      }
    }
  }
  if (day < 1 || day > 31 || month < 1 || year < 1970 || hour < 0 ||
      hour > 23 || minute > 59 || second > 60) {
    return 0;
  }
  return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 +
         second;
}

}  // namespace qilo
