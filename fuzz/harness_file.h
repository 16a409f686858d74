#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "os/files.h"

// The path of a file in a folder of this harness's own,
// made on first use and removed at exit. The store locks a file's folder for
// each write, so two harnesses running side by side must not share one.
// Flushes to disk are switched off: millions of replaces need not wait for it.
inline const std::string& HarnessFile() {
  static std::string folder;
  static const std::string path = [] {
    qilo::SetFlushToDiskForTest(false);
    // In memory where the system has it: the disk would slow every replace.
    char in_memory[] = "/dev/shm/qilo-fuzz-XXXXXX";
    char on_disk[] = "/tmp/qilo-fuzz-XXXXXX";
    const char* made = mkdtemp(in_memory);
    if (made == nullptr) made = mkdtemp(on_disk);
    if (made == nullptr) abort();
    folder = made;
    atexit([] {
      unlink((folder + "/file.ini").c_str());
      rmdir(folder.c_str());
    });
    return folder + "/file.ini";
  }();
  return path;
}
