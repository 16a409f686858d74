#pragma once

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace qilo {

// Checks that a picture drawn for a display scale keeps the form of its 1x
// drawing, for the tests of both windows; `ink(x, y)` says whether the pixel
// at (x, y) of a width × height picture is ink.
using InkAt = std::function<bool(int x, int y)>;

// The number of pieces of ink, pixels touching at an edge or a corner being
// one piece: a stroke broken by the scaling makes more.
inline int InkPieces(int width, int height, const InkAt& ink) {
  std::vector<bool> seen(static_cast<size_t>(width) * height);
  int pieces = 0;
  for (int start = 0; start < width * height; ++start) {
    if (seen[start] || !ink(start % width, start / width)) continue;
    ++pieces;
    std::vector<int> todo = {start};
    seen[start] = true;
    while (!todo.empty()) {
      const int x = todo.back() % width, y = todo.back() / width;
      todo.pop_back();
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
          const int at = ny * width + nx;
          if (!seen[at] && ink(nx, ny)) {
            seen[at] = true;
            todo.push_back(at);
          }
        }
      }
    }
  }
  return pieces;
}

// True when the ink is a chevron with its notch open, as the step arrows draw
// it: the middle column of the ink's bounds is inked over at most two thirds
// of their height. A chevron filled into a blob inks more of it.
inline bool ChevronOpen(int width, int height, const InkAt& ink) {
  int left = width, right = -1, top = height, bottom = -1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!ink(x, y)) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return false;
  int inked = 0;
  for (int y = top; y <= bottom; ++y) inked += ink((left + right) / 2, y);
  return 3 * inked <= 2 * (bottom - top + 1);
}

// How many columns the underline of a one-line underlined caption runs past
// its text's last ink: the underline is the band of rows, lowest in the
// picture, inked across the most columns; the text is the ink above it.
inline int UnderlineOverhang(int width, int height, const InkAt& ink) {
  std::vector<int> inked(height), rightmost(height, -1);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!ink(x, y)) continue;
      ++inked[y];
      rightmost[y] = x;
    }
  }
  int line = height - 1;
  for (int y = height - 1; y >= 0; --y) {
    if (inked[y] > inked[line]) line = y;
  }
  while (line > 0 && 5 * inked[line - 1] >= 4 * inked[line]) --line;
  int text_right = -1;
  for (int y = 0; y < line; ++y)
    text_right = std::max(text_right, rightmost[y]);
  return rightmost[line] - text_right;
}

}  // namespace qilo
