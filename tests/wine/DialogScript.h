// Driving a modal dialog from a second thread while the test's thread runs the dialog's loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace skx::test {

// Runs Script on a second thread while Show runs on this one, and waits for both. The script
// must not use the test framework's assertions (they are not thread-safe here): it records what
// it saw for the test to check afterwards, and it must end the dialog whatever happens.
template <typename TShow>
auto RunScripted(const std::function<void()>& Script, TShow Show) {
  std::thread script(Script);
  auto result = Show();
  script.join();
  return result;
}

// A visible top-level window of the thread with that caption; null after a few seconds.
HWND WaitForWindow(DWORD Thread, const std::wstring& Caption);
// A visible window of the thread owned by Owner (a message box), whatever its caption.
HWND WaitForOwned(DWORD Thread, HWND Owner);
// The text of a message box (its static text).
std::wstring MessageBoxText(HWND Box);
// Waits until the condition holds; false when it still does not after a few seconds.
bool WaitUntil(const std::function<bool()>& Condition);
// Waits until the window is gone or hidden.
bool WaitHidden(HWND Window);
// The control that has the focus in the thread.
HWND FocusOf(DWORD Thread);
std::wstring TextOf(HWND Window);
// A key pressed and released, as the thread's message queue sees it.
void PostKey(HWND Window, WPARAM Key);
// Characters typed into a control.
void TypeChars(HWND Window, const std::wstring& Text);
// Lets the dialog's thread paint what it has to.
void Settle();

}  // namespace skx::test
