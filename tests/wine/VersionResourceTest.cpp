// The library's version resource as GetFileVersionInfo reads it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WineTestUtil.h"

namespace skx::test {
namespace {

class VersionResourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeW(OcxPath().c_str(), &handle);
    ASSERT_GT(size, 0u);
    FData.resize(size);
    ASSERT_TRUE(::GetFileVersionInfoW(OcxPath().c_str(), 0, size, FData.data()));
  }
  // A string value, or "<missing>".
  std::wstring Value(const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!::VerQueryValueW(FData.data(), key.c_str(), &value, &length)) return L"<missing>";
    return length == 0 ? std::wstring() : std::wstring(static_cast<const wchar_t*>(value));
  }
  std::vector<BYTE> FData;
};

TEST_F(VersionResourceTest, FileAndProductVersionAreOnePointZeroWithABuildNumber) {
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(FData.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
  std::wstring build = std::to_wstring(LOWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(Value(L"FileVersion"), L"1.0.0." + build);
  EXPECT_EQ(Value(L"ProductVersion"), L"1.0.0." + build);
}

TEST_F(VersionResourceTest, NamesTheProductAndOffersSelfRegistration) {
  EXPECT_EQ(Value(L"ProductName"), L"SkedraXControl");
  EXPECT_EQ(Value(L"FileDescription"), L"Skedra schedule grid ActiveX control");
  EXPECT_EQ(Value(L"OriginalFilename"), L"SkedraXControl.ocx");
  EXPECT_EQ(Value(L"OLESelfRegister"), L"");
}

}  // namespace
}  // namespace skx::test
