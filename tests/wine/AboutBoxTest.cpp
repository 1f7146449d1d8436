// The about box: its controls, and Enter and Escape closing it.
#include <windows.h>

#include <gtest/gtest.h>

#include "DialogScript.h"
#include "SkedraAbout/SkedraAbout.h"
#include "WineTestUtil.h"

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
          PostKey(FocusOf(FThread), key);
          closed = WaitHidden(box);
          if (!closed) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        },
        [] {
          ShowAbout();
          return 0;
        });
    return closed;
  }

  DWORD FThread = ::GetCurrentThreadId();
  std::wstring FName;
  bool FFocusOnOk = false;
  SIZE FClientSize{};
};

TEST_F(AboutBoxTest, EnterClosesIt) {
  EXPECT_TRUE(ClosesWith(VK_RETURN));
  EXPECT_EQ(FName, L"Skedra ActiveX Control");
  EXPECT_TRUE(FFocusOnOk);
  EXPECT_EQ(FClientSize.cx, 225);
  EXPECT_EQ(FClientSize.cy, 149);
}

TEST_F(AboutBoxTest, EscapeClosesIt) { EXPECT_TRUE(ClosesWith(VK_ESCAPE)); }

}  // namespace
}  // namespace skx::test
