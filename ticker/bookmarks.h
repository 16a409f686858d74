#pragma once

#include <string>

namespace qilo {

// Adds the bookmark to the first free slot of 1 to 20 of the links file (a
// slot missing its name or its address is free), unless the same name and
// address stand in any slot 1 to 30 or either is blank. Reads the file, never
// the table in memory. Returns the info-line message (GBK). Throws
// EIniFileException when the write is refused.
std::string AddBookmark(const std::string& links_path, const std::string& name,
                        const std::string& address);

// Deletes the first slot 1 to 30 holding exactly this name and address.
// Returns the info-line message. Never throws.
std::string DeleteBookmark(const std::string& links_path,
                           const std::string& name, const std::string& address);

}  // namespace qilo
