#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/exception.h"

namespace qilo {

// A write to an INI file that could not be made. Message: "Unable to write to "
// followed by the path exactly as the caller passed it.
QILO_DECLARE_EXCEPTION(EIniFileException, Exception);

// Access to one INI file, made for one operation and dropped after it. It holds
// only the path (GBK, "\" between folders); every call reads the file anew and
// a write is on disk when the call returns, so nothing is pending at
// destruction.
//
// File format: "[name]" lines open sections; "key=value" lines are entries of
// the section above them. Section and key names match with ASCII letter case
// ignored and blanks (spaces, tabs) around them ignored. Lines end in LF or CR
// LF; a new file uses LF, an existing one keeps its own convention. Every line
// the operation does not concern stays byte for byte.
class TIniFile {
 public:
  explicit TIniFile(std::string file_name);

  const std::string& FileName() const { return file_name_; }

  // The value of section/key: the text after the first "=", without blanks
  // around it and without one pair of matching quotes (" or ') around it, cut
  // to 2047 bytes (2046 when the cut would split a two-byte character).
  // `default_text` when the file, section or key is missing or the file cannot
  // be read. Never throws, never creates the file.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& default_text) const;

  // Sets section/key to `value`, written as passed (no quotes, no trimming):
  // an existing entry gets the new value after its "="; a new key goes in a
  // line of its own after the last entry of the section; a new section is
  // added at the end of the file. Creates the file if its folder exists. The
  // file is replaced whole (see ReplaceFileAtomically), so a failure leaves
  // the old content. Other copies of the program writing the same file wait
  // for the read and the replace to end (FileUpdateLock), so neither loses the
  // other's entry. Throws EIniFileException when the system refuses, when
  // the file exists but cannot be read, or when the texts cannot be one entry
  // line: a CR or LF in any of them, or a key holding "=" or starting with "["
  // (it would read back as another key or as a section).
  void WriteString(const std::string& section, const std::string& key,
                   const std::string& value) const;

  // Removes every line of section/key, under the same FileUpdateLock as
  // WriteString. A missing file, section or key, and any refusal by the
  // system, are ignored.
  void DeleteKey(const std::string& section, const std::string& key) const;

 private:
  std::string file_name_;
};

// One read and one parse of an INI file, for a caller that reads many of its
// entries at once (the settings and the link table at start): Read gives
// what ReadEntry with an empty default gives for the same section and key,
// as the file stood when the snapshot was made. A missing or unreadable file
// reads as empty.
class IniSnapshot {
 public:
  explicit IniSnapshot(const std::string& path);
  std::string Read(std::string_view section, std::string_view key) const;

 private:
  // An entry line of a section: offsets into content_.
  struct Entry {
    size_t section_begin, section_size;
    size_t key_begin, key_size;
    size_t line_begin, line_text_end, value_begin;
    size_t hash;  // of the section and key as SameText sees them
  };
  std::string_view Section(const Entry& e) const;
  std::string_view Key(const Entry& e) const;
  // The entry for a section and key, or null.
  const Entry* Find(std::string_view section, std::string_view key,
                    size_t hash) const;

  std::string content_;
  std::vector<Entry> entries_;  // in the file's order
  // Open addressing on Entry::hash: index + 1 of the first entry of each
  // section and key, 0 for a free slot; its size is a power of two.
  std::vector<unsigned> slots_;
};

// Keys "1" to `count` of a few sections from one read and one parse of an
// INI file: the link table's sixty entries without a lookup per key. View
// gives what ReadEntry with an empty default gives, as the file stood when
// this was made; a missing or unreadable file reads as empty.
class NumberedEntries {
 public:
  NumberedEntries(const std::string& path,
                  std::span<const std::string_view> sections, int count);
  // The value of key `n` (1 to count) of sections[section], valid as long
  // as this lives.
  std::string_view View(size_t section, int n) const;

 private:
  std::string content_;
  int count_;
  // Where the value of each key's first line, as a read finds it, begins
  // (just after its "=") and where its line's text ends; begin 0 for a key
  // the file lacks. count_ a section, in the order of `sections`.
  struct Value {
    size_t begin = 0, line_text_end = 0;
  };
  std::vector<Value> values_;
};

// The three operations of the store, each on a fresh TIniFile for the path.
// ReadEntry never throws; WriteEntry throws EIniFileException as
// TIniFile::WriteString; DeleteEntry never throws.
std::string ReadEntry(const std::string& path, const std::string& section,
                      const std::string& key,
                      const std::string& default_text = "");
void WriteEntry(const std::string& path, const std::string& section,
                const std::string& key, const std::string& value);
void DeleteEntry(const std::string& path, const std::string& section,
                 const std::string& key);

// How every saver stores a value: WriteEntry for a non-empty value (blanks
// count), DeleteEntry for an empty one. Throws as WriteEntry.
void StoreEntry(const std::string& path, const std::string& section,
                const std::string& key, const std::string& value);

}  // namespace qilo
