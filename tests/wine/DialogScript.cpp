// Finding, reading and driving dialogs from a second thread.
#include "DialogScript.h"


namespace skx::test {

namespace {

constexpr int PollMilliseconds = 20;
constexpr int PollCount = 250;

struct TWindowQuery {
  const std::wstring* Caption;
  HWND Owner;
  HWND Found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* query = reinterpret_cast<TWindowQuery*>(data);
  if (!::IsWindowVisible(window)) return TRUE;
  if (query->Caption != nullptr && TextOf(window) != *query->Caption) return TRUE;
  if (query->Owner != nullptr && ::GetWindow(window, GW_OWNER) != query->Owner) return TRUE;
  query->Found = window;
  return FALSE;
}

HWND WaitForWindow(DWORD Thread, const std::wstring* Caption, HWND Owner) {
  for (int i = 0; i < PollCount; ++i) {
    TWindowQuery query{Caption, Owner, nullptr};
    ::EnumThreadWindows(Thread, MatchWindow, reinterpret_cast<LPARAM>(&query));
    if (query.Found != nullptr) {
      Settle();
      return query.Found;
    }
    ::Sleep(PollMilliseconds);
  }
  return nullptr;
}

}  // namespace

HWND WaitForWindow(DWORD Thread, const std::wstring& Caption) {
  return WaitForWindow(Thread, &Caption, nullptr);
}

HWND WaitForOwned(DWORD Thread, HWND Owner) { return WaitForWindow(Thread, nullptr, Owner); }

std::wstring MessageBoxText(HWND Box) { return TextOf(::GetDlgItem(Box, 0xFFFF)); }

bool WaitUntil(const std::function<bool()>& Condition) {
  for (int i = 0; i < PollCount; ++i) {
    if (Condition()) return true;
    ::Sleep(PollMilliseconds);
  }
  return false;
}

bool WaitHidden(HWND Window) {
  return WaitUntil([&] { return !::IsWindow(Window) || !::IsWindowVisible(Window); });
}

HWND FocusOf(DWORD Thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return ::GetGUIThreadInfo(Thread, &info) ? info.hwndFocus : nullptr;
}

std::wstring TextOf(HWND Window) {
  wchar_t text[512] = {};
  ::SendMessageW(Window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return text;
}

void PostKey(HWND Window, WPARAM Key) {
  ::PostMessageW(Window, WM_KEYDOWN, Key, 1);
  ::PostMessageW(Window, WM_KEYUP, Key, 0xC0000001);
  Settle();
}

void TypeChars(HWND Window, const std::wstring& Text) {
  for (wchar_t c : Text) ::SendMessageW(Window, WM_CHAR, c, 1);
}

void Settle() { ::Sleep(150); }

}  // namespace skx::test
