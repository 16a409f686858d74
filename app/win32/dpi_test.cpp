// Scaling the layout to the window's dots per inch, the pictures drawn for a
// scale, and the manifest that makes the system let the program scale itself.
#include "app/win32/dpi.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include "app/win32/gdi.h"

namespace qilo {
namespace {

TEST(DpiTest, EdgesScaleRoundedHalfUp) {
  const struct {
    int v, dpi, scaled;
  } kCases[] = {
      {469, 96, 469},  {469, 120, 586}, {469, 144, 704}, {469, 192, 938},
      {232, 120, 290}, {232, 144, 348}, {1, 144, 2},     {1, 120, 1},
      {-10, 120, -12}, {-4, 144, -6},   {-1, 144, -1},   {231, 144, 347},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(Scaled(c.v, c.dpi), c.scaled) << c.v << " at " << c.dpi;
  }
}

// A device pixel maps back into the layout cell whose scaled edges hold it,
// so that a click lands on the control drawn there.
TEST(DpiTest, EveryDevicePixelMapsToTheCellThatHoldsIt) {
  for (const int dpi : {96, 120, 144, 168, 192, 288}) {
    for (int x = -60; x < 1000; ++x) {
      const int v = Unscaled(x, dpi);
      ASSERT_LE(Scaled(v, dpi), x) << x << " at " << dpi;
      ASSERT_LT(x, Scaled(v + 1, dpi)) << x << " at " << dpi;
    }
  }
}

TEST(DpiTest, APictureIsTheExactScaleOrTheNearestLarger) {
  const std::vector<int> all(std::begin(kPictureScales),
                             std::end(kPictureScales));
  const std::vector<int> only_1x = {100};
  const std::vector<int> gap = {100, 200};
  const struct {
    int dpi;
    const std::vector<int>* drawn;
    int scale;
  } kCases[] = {
      {96, &all, 100},  {120, &all, 125},     {144, &all, 150},
      {192, &all, 200}, {130, &all, 150},     {97, &all, 125},
      {288, &all, 200}, {144, &only_1x, 100}, {110, &gap, 200},
      {72, &all, 100},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(PictureScale(c.dpi, *c.drawn), c.scale) << c.dpi;
  }
}

// A group resource's directory (the icon's or the cursor's as the resource
// compiler stores it): its images' ids by width, 0 standing for 256.
std::map<int, WORD> GroupImages(const wchar_t* name, const wchar_t* type) {
  std::map<int, WORD> images;
  const HRSRC found = FindResourceW(nullptr, name, type);
  if (found == nullptr) return images;
  const auto* bytes =
      static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
  WORD count = 0;
  std::memcpy(&count, bytes + 4, 2);
  for (WORD i = 0; i < count; ++i) {
    const BYTE* entry = bytes + 6 + 14 * i;  // 14 bytes each, packed
    WORD id = 0;
    std::memcpy(&id, entry + 12, 2);
    images[entry[0] == 0 ? 256 : entry[0]] = id;
  }
  return images;
}

// MAINICON holds an image drawn for each size Windows asks for; HAND one for
// each scale, each with its hot spot on the finger's left edge.
TEST(DpiTest, TheIconAndTheHandHoldAnImageForEachSize) {
  std::vector<int> icon_sizes;
  for (const auto& [size, id] :
       GroupImages(L"MAINICON", MAKEINTRESOURCEW(14))) {  // RT_GROUP_ICON
    icon_sizes.push_back(size);
  }
  EXPECT_EQ(icon_sizes,
            (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 128, 256}));

  const std::map<int, int> kHotSpotRow = {
      {32, 10}, {40, 13}, {48, 15}, {64, 20}};
  const auto hand = GroupImages(L"HAND", MAKEINTRESOURCEW(12));  // cursor
  ASSERT_EQ(hand.size(), kHotSpotRow.size());
  for (const auto& [size, id] : hand) {
    ASSERT_EQ(kHotSpotRow.count(size), 1u) << size;
    const HRSRC found =
        FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(1));
    ASSERT_NE(found, nullptr) << size;
    // A cursor image starts with its hot spot, column then row.
    WORD hot[2] = {};
    std::memcpy(hot, LockResource(LoadResource(nullptr, found)), 4);
    EXPECT_EQ(hot[0], 0) << size;
    EXPECT_EQ(hot[1], kHotSpotRow.at(size)) << size;
  }
}

// The program carries one manifest, and the loader has applied it to this
// process, which links the same resources.
TEST(DpiTest, TheManifestAsksForPerMonitorScalingAndCommonControls6) {
  const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1),
                                    MAKEINTRESOURCEW(24));  // RT_MANIFEST
  ASSERT_NE(found, nullptr);
  const auto* bytes =
      static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
  ASSERT_NE(bytes, nullptr);
  const std::string manifest(bytes, SizeofResource(nullptr, found));
  for (const char* part :
       {">PerMonitorV2, PerMonitor</dpiAwareness>", ">true/pm</dpiAware>",
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""}) {
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
  }

  // The loader took the common controls from the side-by-side store, and
  // the process scales its own windows per monitor.
  const HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
  ASSERT_NE(comctl, nullptr);
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(comctl, path, MAX_PATH);
  std::wstring lower = path;
  for (wchar_t& c : lower) c = towlower(c);
  EXPECT_NE(lower.find(L"\\winsxs\\"), std::wstring::npos);
  EXPECT_NE(lower.find(L".common-controls_6595b64144ccf1df_6.0."),
            std::wstring::npos);
  using ThreadContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)();
  using AwarenessFn = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  const auto context =
      reinterpret_cast<ThreadContextFn>(reinterpret_cast<void*>(
          GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
  const auto awareness = reinterpret_cast<AwarenessFn>(reinterpret_cast<void*>(
      GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
  if (context != nullptr && awareness != nullptr) {
    EXPECT_EQ(awareness(context()), DPI_AWARENESS_PER_MONITOR_AWARE);
  }
}

}  // namespace
}  // namespace qilo
