// The about box: its controls, and Enter and Escape closing it.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "DialogScript.h"
#include "GridHost.h"
#include "WineTestUtil.h"
#include "Framework/Win32/ModalHost.h"
#include "SkedraAbout/SkedraAbout.h"

namespace skx::test {
namespace {

class AboutBoxTest : public ::testing::Test {
 protected:
  // Shows the about box and answers it with the key; reports whether it closed.
  bool ClosesWith(WPARAM key) {
    bool closed = false;
    RunScripted(
        [&] {
          HWND box = WaitForWindow(FThread, L"About");
          if (box == nullptr) return;
          FName = TextOf(::GetDlgItem(box, idNameLbl));
          FFocusOnOk = FocusOf(FThread) == ::GetDlgItem(box, idOkBtn);
          RECT client;
          ::GetClientRect(box, &client);
          FClientSize = SIZE{client.right, client.bottom};
          FScreenshot = CaptureClient(box);
          PostKey(FocusOf(FThread), key);
          closed = WaitHidden(box);
          if (!closed) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        },
        [] {
          ShowAbout(nullptr);
          return 0;
        });
    return closed;
  }

  DWORD FThread = ::GetCurrentThreadId();
  std::wstring FName;
  bool FFocusOnOk = false;
  SIZE FClientSize{};
  std::optional<TScreenshot> FScreenshot;
};

TEST_F(AboutBoxTest, EnterClosesIt) {
  EXPECT_TRUE(ClosesWith(VK_RETURN));
  EXPECT_EQ(FName, L"Skedra ActiveX Control");
  EXPECT_TRUE(FFocusOnOk);
  EXPECT_EQ(FClientSize.cx, 225);
  EXPECT_EQ(FClientSize.cy, 149);
  ASSERT_TRUE(FScreenshot.has_value());
  FScreenshot->Save(ProgramFolder() + L"\\about-box.bmp");
}

TEST_F(AboutBoxTest, EscapeClosesIt) { EXPECT_TRUE(ClosesWith(VK_ESCAPE)); }

// A container's window and frame as the in-place active control hands them over.
class TRecordingHost : public TModalHost {
 public:
  explicit TRecordingHost(HWND owner) : FOwner(owner) {}
  HWND ModalOwner() override { return FOwner; }
  void EnableModeless(bool enable) override { Calls += enable ? L"enable;" : L"disable;"; }
  std::wstring Calls;

 private:
  HWND FOwner;
};

TEST_F(AboutBoxTest, TheContainerOwnsTheBoxAndHoldsItsModelessWindowsMeanwhile) {
  HWND container = ::CreateWindowExW(0, L"STATIC", L"Container", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                     nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(container, nullptr);
  TRecordingHost host(container);
  HWND owner = nullptr;
  bool containerDisabled = false;
  std::wstring callsWhileShown;
  RunScripted(
      [&] {
        HWND box = WaitForWindow(FThread, L"About");
        if (box == nullptr) return;
        owner = ::GetWindow(box, GW_OWNER);
        containerDisabled = !::IsWindowEnabled(container);
        callsWhileShown = host.Calls;
        PostKey(FocusOf(FThread), VK_RETURN);
        WaitHidden(box);
      },
      [&] {
        ShowAbout(&host);
        return 0;
      });
  EXPECT_EQ(owner, container);
  EXPECT_TRUE(containerDisabled);
  EXPECT_EQ(callsWhileShown, L"disable;");
  EXPECT_EQ(host.Calls, L"disable;enable;");
  EXPECT_TRUE(::IsWindowEnabled(container));
  ::DestroyWindow(container);
}

}  // namespace
}  // namespace skx::test
