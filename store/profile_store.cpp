#include "store/profile_store.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "os/file_lock.h"
#include "os/files.h"
#include "text/gbk.h"

namespace qilo {
namespace {

// A read returns at most this many bytes of a value.
constexpr size_t kMaxValueBytes = 2047;
// The line end of a file the store creates (an existing file keeps its own).
constexpr std::string_view kNewFileLineEnd = "\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The first kMaxValueBytes bytes of the value, less the lead byte of a
// two-byte character that the cut would split.
std::string_view CutValue(std::string_view value) {
  if (value.size() <= kMaxValueBytes) return value;
  size_t end = 0;
  while (end < kMaxValueBytes) end += IsGbkLeadByte(value[end]) ? 2 : 1;
  return value.substr(0, end > kMaxValueBytes ? end - 2 : end);
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// One line of the file: [begin, text_end) is its text, [text_end, end) its line
// end ("\n", "\r\n" or nothing for a last line without one).
struct Line {
  size_t begin = 0;
  size_t text_end = 0;
  size_t end = 0;
};

enum class LineKind { kOther, kHeader, kEntry };

struct ParsedLine {
  LineKind kind = LineKind::kOther;
  std::string_view name;   // the section (header) or the key (entry), trimmed
  size_t value_begin = 0;  // entry: offset in the file just after the "="
};

// The line that starts at `pos` (< content.size()).
Line LineAt(std::string_view content, size_t pos) {
  Line line;
  line.begin = pos;
  size_t newline = content.find('\n', pos);
  line.end = newline == std::string_view::npos ? content.size() : newline + 1;
  line.text_end = newline == std::string_view::npos ? content.size() : newline;
  if (line.text_end > line.begin && content[line.text_end - 1] == '\r') {
    --line.text_end;
  }
  return line;
}

ParsedLine Parse(std::string_view content, const Line& line) {
  std::string_view text =
      content.substr(line.begin, line.text_end - line.begin);
  std::string_view trimmed = Trim(text);
  ParsedLine parsed;
  if (!trimmed.empty() && trimmed.front() == '[') {
    // A "[" line is never an entry; without its closing "]" it is no header.
    if (trimmed.size() >= 2 && trimmed.back() == ']') {
      parsed.kind = LineKind::kHeader;
      parsed.name = Trim(trimmed.substr(1, trimmed.size() - 2));
    }
    return parsed;
  }
  size_t equals = text.find('=');
  if (equals == std::string_view::npos) return parsed;
  parsed.kind = LineKind::kEntry;
  parsed.name = Trim(text.substr(0, equals));
  parsed.value_begin = line.begin + equals + 1;
  return parsed;
}

// What the file holds for one section and key.
struct Lookup {
  bool section_found = false;
  // Where a new key line goes: after the last entry of the first part of the
  // section, or right after its header.
  size_t insert_at = 0;
  std::vector<std::pair<Line, size_t>>
      matches;  // the key's lines, value offset
};

Lookup Find(std::string_view content, std::string_view section,
            std::string_view key, bool first_match_only) {
  section = Trim(section);
  key = Trim(key);
  Lookup lookup;
  bool in_section = false;
  bool in_first_part = false;
  size_t pos = 0;
  while (pos < content.size()) {
    const Line line = LineAt(content, pos);
    pos = line.end;
    ParsedLine parsed = Parse(content, line);
    if (parsed.kind == LineKind::kHeader) {
      in_section = SameText(parsed.name, section);
      in_first_part = in_section && !lookup.section_found;
      if (in_first_part) {
        lookup.section_found = true;
        lookup.insert_at = line.end;
      }
    } else if (parsed.kind == LineKind::kEntry && in_section) {
      if (in_first_part) lookup.insert_at = line.end;
      if (SameText(parsed.name, key)) {
        lookup.matches.emplace_back(line, parsed.value_begin);
        if (first_match_only) break;
      }
    }
  }
  return lookup;
}

// What a read gives for an entry line, uncut: its value without blanks
// around it and without one pair of matching quotes.
std::string_view UncutEntryValue(std::string_view content, const Line& line,
                                 size_t value_begin) {
  std::string_view value =
      Trim(content.substr(value_begin, line.text_end - value_begin));
  if (value.size() >= 2 && value.front() == value.back() &&
      (value.front() == '"' || value.front() == '\'')) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

// What a read gives for an entry line: its value cut to kMaxValueBytes.
std::string EntryValue(std::string_view content, const Line& line,
                       size_t value_begin) {
  const std::string_view value = UncutEntryValue(content, line, value_begin);
  if (value.size() > kMaxValueBytes) return std::string(CutValue(value));
  // Apart from the cut: a copy of a length the compiler cannot bound goes to
  // memcpy, not to a slow inline string move.
  return std::string(value);
}

// Orders names as SameText compares them: ASCII letters in one case, both
// bytes of a GBK character as they are; 0 when SameText finds them equal.
int CompareNames(std::string_view a, std::string_view b) {
  const auto fold = [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  };
  bool trail_a = false;
  bool trail_b = false;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const auto x = static_cast<unsigned char>(trail_a ? a[i] : fold(a[i]));
    const auto y = static_cast<unsigned char>(trail_b ? b[i] : fold(b[i]));
    if (x != y) return x < y ? -1 : 1;
    trail_a = !trail_a && IsGbkLeadByte(a[i]);
    trail_b = !trail_b && IsGbkLeadByte(b[i]);
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string_view LineEndOf(std::string_view content) {
  size_t newline = content.find('\n');
  if (newline == std::string_view::npos) return kNewFileLineEnd;
  return (newline > 0 && content[newline - 1] == '\r') ? "\r\n" : "\n";
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// True when "key=value" under "[section]" reads back as the same section and
// key.
bool FitsOneEntryLine(std::string_view section, std::string_view key,
                      std::string_view value) {
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) {
    return false;
  }
  if (key.find('=') != std::string_view::npos) return false;
  std::string_view trimmed_key = Trim(key);
  return trimmed_key.empty() || trimmed_key.front() != '[';
}

std::string WithEntry(std::string_view content, std::string_view section,
                      std::string_view key, std::string_view value) {
  Lookup lookup = Find(content, section, key, true);
  std::string result;
  result.reserve(content.size() + section.size() + key.size() + value.size() +
                 8);
  if (!lookup.matches.empty()) {
    const auto& [line, value_begin] = lookup.matches.front();
    result.append(content.substr(0, value_begin));
    result.append(value);
    result.append(content.substr(line.text_end));
    return result;
  }
  std::string_view line_end = LineEndOf(content);
  size_t insert_at = lookup.section_found ? lookup.insert_at : content.size();
  result.append(content.substr(0, insert_at));
  // A last line without its line end gets one before anything follows it. A
  // lone CR already ends it for the reader: an LF completes it, where a
  // whole line end would leave the CR in the line's text ("k=1\r").
  if (insert_at > 0 && content[insert_at - 1] == '\r') {
    result.append("\n");
  } else if (insert_at > 0 && content[insert_at - 1] != '\n') {
    result.append(line_end);
  }
  if (!lookup.section_found) {
    result.append("[").append(section).append("]").append(line_end);
  }
  result.append(key).append("=").append(value).append(line_end);
  result.append(content.substr(insert_at));
  return result;
}

}  // namespace

TIniFile::TIniFile(std::string file_name) : file_name_(std::move(file_name)) {}

std::string TIniFile::ReadString(const std::string& section,
                                 const std::string& key,
                                 const std::string& default_text) const {
  std::string content;
  if (ReadFileBytes(file_name_, &content) != ReadResult::kOk)
    return default_text;
  Lookup lookup = Find(content, section, key, true);
  if (lookup.matches.empty()) return default_text;
  const auto& [line, value_begin] = lookup.matches.front();
  return EntryValue(content, line, value_begin);
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) const {
  const EIniFileException refused("Unable to write to " +
                                  PathForDisplay(file_name_));
  if (!FitsOneEntryLine(section, key, value)) throw refused;
  // Another window saving a key of this file between our read and our replace
  // would otherwise lose its key.
  const FileUpdateLock lock(file_name_);
  std::string content;
  // An existing file that cannot be read is not replaced: its content would be
  // lost.
  if (ReadFileBytes(file_name_, &content) == ReadResult::kFailed) throw refused;
  if (!ReplaceFileAtomically(file_name_,
                             WithEntry(content, section, key, value))) {
    throw refused;
  }
}

void TIniFile::DeleteKey(const std::string& section,
                         const std::string& key) const {
  // Every save of an empty value comes here: without the lock a key another
  // window writes between our read and our replace would be lost.
  const FileUpdateLock lock(file_name_);
  std::string content;
  if (ReadFileBytes(file_name_, &content) != ReadResult::kOk) return;
  Lookup lookup = Find(content, section, key, false);
  if (lookup.matches.empty()) return;
  std::string result;
  result.reserve(content.size());
  size_t kept_from = 0;
  for (const auto& [line, value_begin] : lookup.matches) {
    result.append(content, kept_from, line.begin - kept_from);
    kept_from = line.end;
  }
  result.append(content, kept_from, std::string::npos);
  ReplaceFileAtomically(file_name_, result);
}

namespace {

// A hash of a section and key that is equal for names SameText finds equal:
// ASCII letters in one case, both bytes of a GBK character as they are.
size_t NamesHash(std::string_view section, std::string_view key) {
  size_t h = 14695981039346656037u;
  const auto mix = [&h](std::string_view name) {
    bool trail = false;
    for (const char c : name) {
      const bool fold = !trail && c >= 'A' && c <= 'Z';
      h = (h ^ static_cast<unsigned char>(fold ? c - 'A' + 'a' : c)) *
          1099511628211u;
      trail = !trail && IsGbkLeadByte(c);
    }
    h = (h ^ 0x100) * 1099511628211u;  // the end of a name
  };
  mix(section);
  mix(key);
  return h;
}

bool SameNames(std::string_view a, std::string_view b) {
  // Mostly written as they are read: the byte compare settles it.
  return a.size() == b.size() && (a == b || CompareNames(a, b) == 0);
}

}  // namespace

IniSnapshot::IniSnapshot(const std::string& path) {
  if (ReadFileBytes(path, &content_) != ReadResult::kOk) content_.clear();
  const std::string_view content = content_;
  entries_.reserve(static_cast<size_t>(
      std::count(content.begin(), content.end(), '\n') + 1));
  std::string_view section;
  bool in_section = false;
  for (size_t pos = 0; pos < content.size();) {
    const Line line = LineAt(content, pos);
    pos = line.end;
    const ParsedLine parsed = Parse(content, line);
    if (parsed.kind == LineKind::kHeader) {
      section = parsed.name;
      in_section = true;
    } else if (parsed.kind == LineKind::kEntry && in_section) {
      entries_.push_back(
          {static_cast<size_t>(section.data() - content.data()), section.size(),
           static_cast<size_t>(parsed.name.data() - content.data()),
           parsed.name.size(), line.begin, line.text_end, parsed.value_begin,
           NamesHash(section, parsed.name)});
    }
  }
  size_t size = 8;
  while (size < 2 * entries_.size()) size *= 2;
  slots_.assign(size, 0);
  for (size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    // The file's first entry of a key is the one a read finds.
    if (Find(Section(e), Key(e), e.hash) != nullptr) continue;
    size_t slot = e.hash & (size - 1);
    while (slots_[slot] != 0) slot = (slot + 1) & (size - 1);
    slots_[slot] = static_cast<unsigned>(i + 1);
  }
}

std::string_view IniSnapshot::Section(const Entry& e) const {
  return std::string_view(content_).substr(e.section_begin, e.section_size);
}

std::string_view IniSnapshot::Key(const Entry& e) const {
  return std::string_view(content_).substr(e.key_begin, e.key_size);
}

const IniSnapshot::Entry* IniSnapshot::Find(std::string_view section,
                                            std::string_view key,
                                            size_t hash) const {
  const size_t mask = slots_.size() - 1;
  for (size_t slot = hash & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
    const Entry& e = entries_[slots_[slot] - 1];
    if (e.hash == hash && SameNames(Key(e), key) &&
        SameNames(Section(e), section)) {
      return &e;
    }
  }
  return nullptr;
}

std::string IniSnapshot::Read(std::string_view section,
                              std::string_view key) const {
  const std::string_view wanted_section = Trim(section);
  const std::string_view wanted_key = Trim(key);
  const Entry* e =
      Find(wanted_section, wanted_key, NamesHash(wanted_section, wanted_key));
  if (e == nullptr) return std::string();
  Line line;
  line.begin = e->line_begin;
  line.text_end = e->line_text_end;
  return EntryValue(content_, line, e->value_begin);
}

namespace {

// The number a key names when it is written as ReadEntry's key IntegerToText(n)
// is, for n from 1 to `count`; 0 for any other key.
int KeyNumber(std::string_view key, int count) {
  if (key.empty() || key.size() > 9 || key.front() == '0') return 0;
  int n = 0;
  for (const char c : key) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n <= count ? n : 0;
}

}  // namespace

NumberedEntries::NumberedEntries(const std::string& path,
                                 std::span<const std::string_view> sections,
                                 int count)
    : count_(count), values_(sections.size() * static_cast<size_t>(count)) {
  if (ReadFileBytes(path, &content_) != ReadResult::kOk) content_.clear();
  const std::string_view content = content_;
  int current = -1;  // the header's place in `sections`, or -1
  for (size_t pos = 0; pos < content.size();) {
    const Line line = LineAt(content, pos);
    pos = line.end;
    const ParsedLine parsed = Parse(content, line);
    if (parsed.kind == LineKind::kHeader) {
      current = -1;
      for (size_t i = 0; i < sections.size() && current < 0; ++i) {
        if (SameText(parsed.name, Trim(sections[i]))) {
          current = static_cast<int>(i);
        }
      }
    } else if (parsed.kind == LineKind::kEntry && current >= 0) {
      const int n = KeyNumber(parsed.name, count);
      if (n == 0) continue;
      Value& first = values_[static_cast<size_t>(current * count + n - 1)];
      if (first.begin == 0) first = {parsed.value_begin, line.text_end};
    }
  }
}

std::string_view NumberedEntries::View(size_t section, int n) const {
  if (n < 1 || n > count_ || section >= values_.size() / count_) return {};
  const Value& value = values_[section * static_cast<size_t>(count_) + n - 1];
  if (value.begin == 0) return {};
  Line line;
  line.text_end = value.line_text_end;
  return CutValue(UncutEntryValue(content_, line, value.begin));
}

std::string ReadEntry(const std::string& path, const std::string& section,
                      const std::string& key, const std::string& default_text) {
  TIniFile ini(path);
  return ini.ReadString(section, key, default_text);
}

void WriteEntry(const std::string& path, const std::string& section,
                const std::string& key, const std::string& value) {
  TIniFile ini(path);
  ini.WriteString(section, key, value);
}

void DeleteEntry(const std::string& path, const std::string& section,
                 const std::string& key) {
  TIniFile ini(path);
  ini.DeleteKey(section, key);
}

void StoreEntry(const std::string& path, const std::string& section,
                const std::string& key, const std::string& value) {
  if (!value.empty()) {
    WriteEntry(path, section, key, value);
  } else {
    DeleteEntry(path, section, key);
  }
}

}  // namespace qilo
