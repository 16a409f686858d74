#pragma once

#include <string>

namespace qilo {

// The user's home folder, in the form of the paths of os/files.h (GBK on
// Windows, the file system's bytes on Linux), without a separator added:
// %HOMEDRIVE%%HOMEPATH% when both variables are set and not both empty, else
// $HOME, else the account's home from the user database, else the text
// "%HOMEDRIVE%%HOMEPATH%" itself (so the files are looked for under that
// literal name, as on a system where the variables are unset).
std::string HomeFolder();

}  // namespace qilo
