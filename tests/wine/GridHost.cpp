// A schedule grid in a window of its own, with real input and screenshots, for the
// Windows-side tests of the window layer.
#include "GridHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "Framework/Win32/Module.h"
#include "Framework/Win32/Win32Types.h"
#include "Framework/Win32/WindowPeer.h"

namespace skx::test {

namespace {

constexpr const wchar_t* FrameClass = L"SkxTestFrame";

// The layer is set up once for the program, as the library does when it is loaded.
class TWindowLayerEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { InitializeWin32Layer(); }
  void TearDown() override { ShutdownWin32Layer(); }
};

const auto* const windowLayer = ::testing::AddGlobalTestEnvironment(new TWindowLayerEnvironment);

void EnsureFrameClass() {
  static bool ready = [] {
    WNDCLASSEXW frameClass{};
    frameClass.cbSize = sizeof(frameClass);
    frameClass.lpfnWndProc = ::DefWindowProcW;
    frameClass.hInstance = ::GetModuleHandleW(nullptr);
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    frameClass.lpszClassName = FrameClass;
    return ::RegisterClassExW(&frameClass) != 0;
  }();
  ASSERT_TRUE(ready);
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

struct TMenuState {
  UINT_PTR Timer = 0;
  int Choose = -1;
  int Ticks = 0;
  bool Answered = false;
  std::vector<std::wstring> Items;
  POINT At{};
};

TMenuState menuState;

void PressKey(HWND window, WPARAM key) {
  ::PostMessageW(window, WM_KEYDOWN, key, 1);
  ::PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

void AnswerMenu(HWND menuWindow) {
  auto menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  int downs = 0;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = L"";
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 63;
    ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    bool separator = (info.fType & MFT_SEPARATOR) != 0;
    menuState.Items.push_back(separator ? L"-" : text);
    if (!separator && i <= menuState.Choose) ++downs;
  }
  menuState.Answered = true;
  RECT shown{};
  ::GetWindowRect(menuWindow, &shown);
  menuState.At = POINT{shown.left, shown.top};
  if (menuState.Choose < 0) {
    ::EndMenu();
    return;
  }
  for (int i = 0; i < downs; ++i) PressKey(menuWindow, VK_DOWN);
  PressKey(menuWindow, VK_RETURN);
}

void CALLBACK MenuTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  try {
    HWND menuWindow = ::FindWindowW(L"#32768", nullptr);
    if ((menuWindow && ::IsWindowVisible(menuWindow)) || ++menuState.Ticks > 100) {
      ::KillTimer(nullptr, timer);
      menuState.Timer = 0;
      if (menuWindow) AnswerMenu(menuWindow);
    }
  } catch (...) {
    ::EndMenu();
  }
}

}  // namespace

TColor TScreenshot::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0xFFFFFFFFu;
  std::uint32_t bgra = FPixels[static_cast<size_t>(y) * FWidth + x];
  return ((bgra >> 16) & 0xFF) | (bgra & 0xFF00) | ((bgra & 0xFF) << 16);
}

void TScreenshot::Save(const std::wstring& path) const {
  int stride = (FWidth * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = FWidth;
  info.biHeight = FHeight;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = static_cast<DWORD>(stride * FHeight);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::FILE* out = ::_wfopen(path.c_str(), L"wb");
  ASSERT_NE(out, nullptr);
  std::fwrite(&file, sizeof(file), 1, out);
  std::fwrite(&info, sizeof(info), 1, out);
  std::vector<unsigned char> line(stride);
  for (int y = FHeight - 1; y >= 0; --y) {
    for (int x = 0; x < FWidth; ++x) {
      std::uint32_t bgra = FPixels[static_cast<size_t>(y) * FWidth + x];
      line[x * 3] = bgra & 0xFF;
      line[x * 3 + 1] = (bgra >> 8) & 0xFF;
      line[x * 3 + 2] = (bgra >> 16) & 0xFF;
    }
    std::fwrite(line.data(), 1, line.size(), out);
  }
  std::fclose(out);
}

TScreenshot CaptureClient(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  // The part on the screen; BitBlt copies nothing from a source rectangle that leaves it.
  int width = std::min<int>(client.right, ::GetSystemMetrics(SM_CXSCREEN) - origin.x);
  int height = std::min<int>(client.bottom, ::GetSystemMetrics(SM_CYSCREEN) - origin.y);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  ::GdiFlush();
  const auto* first = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(first, first + static_cast<size_t>(width) * height);
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return TScreenshot(width, height, std::move(pixels));
}

std::wstring ColorText(TColor color) {
  wchar_t text[32];
  std::swprintf(text, 32, L"RGB(%u,%u,%u)", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
  return text;
}

// One frame for the whole program: destroying a top-level window costs Wine two seconds here.
HWND SharedFrame() {
  static HWND frame = ::CreateWindowExW(0, FrameClass, L"Grid", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                        0, 0, 100, 100, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  return frame;
}

TGridHost::TGridHost(int width, int height) : FClock(EncodeDate(2026, 12, 7) + 0.5) {
  EnsureFrameClass();
  FFrame = SharedFrame();
  EXPECT_NE(FFrame, nullptr) << "no display: run the Windows-side tests under Xvfb";
  // On top: the test container's frame lies at the same place when one test program runs both.
  ::SetWindowPos(FFrame, HWND_TOP, 0, 0, width, height, SWP_NOACTIVATE);
  FGrid = std::make_unique<TSkedra>(nullptr, FClock);
  FGrid->SetBounds(0, 0, width, height);
  FGrid->SetPeer(std::make_unique<TWin32WindowPeer>(FFrame));
  FGrid->HandleNeeded();
  FGrid->Loaded();
  FGrid->SetSkedraType(skDaily);
  Pump();
}

TGridHost::~TGridHost() {
  FGrid.reset();
  Pump();
}

HWND TGridHost::GridWindow() const { return WindowOf(*FGrid); }

HWND TGridHost::WindowOf(const TWinControl& control) {
  auto* peer = dynamic_cast<TWin32WindowPeer*>(control.Peer());
  return peer ? peer->Handle() : nullptr;
}

TRxTaskObject& TGridHost::AddTask(int id, TDateTime start, TDateTime finish, const String& description) {
  auto task = std::make_unique<TRxTaskObject>(id);
  TRxTaskObject& added = *task;
  TDateTime day = DateOf(FGrid->ActiveDate());
  task->FStartDateTime = day + start;
  task->FFinishDateTime = day + finish;
  task->FDescription = description;
  FGrid->TaskItems().Add(std::move(task));
  FGrid->TaskItems().Arrange();
  Pump();
  return added;
}

RECT TGridHost::MarkerRect(int item, int index) { return ToRECT(Marker(item, index).BoundsRect()); }

void TGridHost::ClickMarker(const TPointControl& marker, int x, int y, bool right) {
  TPoint origin = marker.ClientOrigin();
  Click(GridWindow(), origin.X + x, origin.Y + y, right);
}

void TGridHost::Pump() {
  MSG message;
  for (int round = 0; round < 3; ++round) {
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    if (FFrame) ::RedrawWindow(FFrame, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::Sleep(10);
  }
}

void TGridHost::Repaint() {
  ::RedrawWindow(FFrame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  Pump();
}

void TGridHost::Click(HWND window, int x, int y, bool right) {
  LPARAM at = MAKELPARAM(x, y);
  ::PostMessageW(window, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, at);
  ::PostMessageW(window, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
  Pump();
}

int TGridHost::WindowCount() const {
  int count = 0;
  ::EnumChildWindows(FFrame, &CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

TMenuAnswer::TMenuAnswer(int choose) {
  menuState = TMenuState();
  menuState.Choose = choose;
  menuState.Timer = ::SetTimer(nullptr, 0, 20, &MenuTimer);
}

TMenuAnswer::~TMenuAnswer() {
  if (menuState.Timer) ::KillTimer(nullptr, menuState.Timer);
  menuState.Timer = 0;
}

const std::vector<std::wstring>& TMenuAnswer::Items() const { return menuState.Items; }

bool TMenuAnswer::Answered() const { return menuState.Answered; }

POINT TMenuAnswer::At() const { return menuState.At; }

}  // namespace skx::test
