#pragma once

#include <windows.h>

#include <cstdio>

namespace qilo {

// Called at the first painted frame when QILO_STARTUP_PROBE names a file:
// writes the wall-clock time there (nanoseconds since 1970) and ends the
// program; bench/wine_startup_bench.sh reads it, for qilo.exe and for the
// bare windows it is compared with alike.
inline void ReportFirstFrame(const char* path) {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  const unsigned long long ticks =
      (static_cast<unsigned long long>(now.dwHighDateTime) << 32) |
      now.dwLowDateTime;
  const unsigned long long unix_ns = (ticks - 116444736000000000ULL) * 100ULL;
  if (FILE* f = std::fopen(path, "wb")) {
    std::fprintf(f, "first_frame_ns=%llu\n", unix_ns);
    std::fclose(f);
  }
  PostQuitMessage(0);
}

}  // namespace qilo
