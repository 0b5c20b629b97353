// When a Wine test fails, the virtual screen is saved next to the test
// program (screenshots/<suite>.<test>.bmp) at the first failing assertion,
// while the windows it was checking are still up.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "tests/wine/WineTestUtil.h"

namespace vel::wine {
namespace {

void SaveScreen(const std::string& path) {
  int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  ::BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  ::SelectObject(mem, old);
  BITMAPINFOHEADER bi{sizeof(bi), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  int stride = ((w * 3 + 3) / 4) * 4;
  std::string pixels(static_cast<size_t>(stride) * h, '\0');
  ::GetDIBits(mem, bmp, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof(fh) + sizeof(bi) + pixels.size()), 0, 0,
                      sizeof(fh) + sizeof(bi)};
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  f.write(reinterpret_cast<const char*>(&bi), sizeof bi);
  f << pixels;
  ::DeleteObject(bmp);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
}

class TScreenshotOnFailure : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { Taken = false; }
  void OnTestPartResult(const ::testing::TestPartResult& result) override {
    if (!result.failed() || Taken) return;
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!info) return;
    Taken = true;
    std::string dir = TestExeDir() + "screenshots\\";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    SaveScreen(dir + info->test_suite_name() + "." + info->name() + ".bmp");
  }
  bool Taken = false;
};

const bool registered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new TScreenshotOnFailure);
  return true;
}();

}  // namespace
}  // namespace vel::wine
