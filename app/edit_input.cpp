#include "app/edit_input.h"

#include <algorithm>

#include "text/gbk.h"
#include "text/utf16.h"

namespace qilo {

AdmittedText AdmitText(std::string_view offered, long room) {
  AdmittedText admitted;
  long used = 0;
  for (size_t i = 0; i < offered.size();) {
    // A broken sequence stands alone and converts to nothing GBK holds.
    const size_t n = Utf8CharSize(offered, i);
    const std::string_view one = offered.substr(i, n);
    i += n;
    if (one == "\r" || one == "\n") break;
    if (!GbkHolds(one)) {
      admitted.uncoded = true;
      continue;
    }
    const long bytes = static_cast<long>(Utf8ToGbk(one).size());
    if (room >= 0 && used + bytes > room) break;
    admitted.utf8 += one;
    used += bytes;
  }
  return admitted;
}

long EditRoom(int max_length, std::string_view text,
              std::string_view selection) {
  if (max_length <= 0) return -1;
  // A text set by program may already be longer than the limit.
  return std::max(0L, max_length - static_cast<long>(text.size()) +
                          static_cast<long>(selection.size()));
}

}  // namespace qilo
