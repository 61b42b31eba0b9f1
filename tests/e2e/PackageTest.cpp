#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "Expectations.h"

namespace e2e {
namespace {

std::wstring Dotted(DWORD high, DWORD low) {
  return std::to_wstring(HIWORD(high)) + L"." + std::to_wstring(LOWORD(high)) + L"." + std::to_wstring(HIWORD(low)) +
         L"." + std::to_wstring(LOWORD(low));
}

std::wstring VersionString(std::vector<char>& info, const std::wstring& name) {
  wchar_t* text = nullptr;
  UINT size = 0;
  std::wstring key = L"\\StringFileInfo\\041104B0\\" + name;
  return VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&text), &size) && text ? text : L"";
}

TEST(Package, UnpackedZipStartsInTheTrayAndCarriesTheVersionOfItsName) {
  // The test script packs this build's program the way the release is packed and unpacks the
  // zip into a folder whose path has Japanese characters and spaces.
  std::wstring zip = EnvironmentText(L"VQ_PACKAGE_ZIP"), folder = EnvironmentText(L"VQ_PACKAGE_FOLDER");
  if (zip.empty()) GTEST_SKIP() << "no package given";
  const std::wstring exe = folder + L"Vornquill2.exe";
  ASSERT_NE(GetFileAttributesW(exe.c_str()), INVALID_FILE_ATTRIBUTES) << "not unpacked: " << Narrow(folder);
  ASSERT_EQ(TrayIconCount(), 0);
  {
    auto app = App::StartExe(exe);
    ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 1; }));
    EXPECT_EQ(ReadFileBytes(folder + L"Vornquill.ini"), FirstStartSettingsBytes());
  }
  EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));

  DWORD ignored = 0;
  std::vector<char> info(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size) && fixed);
  const std::wstring version = VersionString(info, L"FileVersion");
  EXPECT_EQ(zip.substr(zip.find_last_of(L'\\') + 1), L"Vornquill2-" + version + L"-win32.zip");
  EXPECT_EQ(Dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS), version + L".0");
  EXPECT_EQ(Dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS), version + L".0");
  EXPECT_EQ(VersionString(info, L"ProductVersion"), version);

  // At most 512 KiB, in whole pages in the file too: a loader maps such an image, it need not copy it.
  const std::string image = ReadFileBytes(exe).value_or("");
  EXPECT_LE(image.size(), 512u * 1024);
  ASSERT_GT(image.size(), sizeof(IMAGE_DOS_HEADER) + sizeof(IMAGE_NT_HEADERS32));
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(image.data() + dos->e_lfanew);
  EXPECT_EQ(nt->OptionalHeader.FileAlignment, 4096u);
}

}  // namespace
}  // namespace e2e
