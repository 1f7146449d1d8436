// Finding, reading and driving dialogs from a second thread; screen captures.
#include "DialogScript.h"

#include <fstream>

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

TScreenImage CopyFromDC(HDC source, int x, int y, int width, int height) {
  TScreenImage image;
  image.Width = width;
  image.Height = height;
  image.Pixels.resize(static_cast<size_t>(width) * height);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = ::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = ::CreateCompatibleDC(source);
  HGDIOBJ old = ::SelectObject(memory, section);
  ::BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
  ::GdiFlush();
  const auto* pixels = static_cast<const DWORD*>(bits);
  for (size_t i = 0; i < image.Pixels.size(); ++i) image.Pixels[i] = pixels[i] & 0x00FFFFFF;
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  ::DeleteObject(section);
  return image;
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

TScreenImage CaptureScreen(const RECT& Rect) {
  HDC screen = ::GetDC(nullptr);
  TScreenImage image =
      CopyFromDC(screen, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top);
  ::ReleaseDC(nullptr, screen);
  return image;
}

TScreenImage BitmapPixels(HBITMAP Bitmap) {
  BITMAP size{};
  ::GetObjectW(Bitmap, sizeof(size), &size);
  HDC screen = ::GetDC(nullptr);
  HDC source = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(source, Bitmap);
  TScreenImage image = CopyFromDC(source, 0, 0, size.bmWidth, size.bmHeight);
  ::SelectObject(source, old);
  ::DeleteDC(source);
  ::ReleaseDC(nullptr, screen);
  return image;
}

bool SaveBitmapFile(const TScreenImage& Image, const std::wstring& Path) {
  const DWORD rowBytes = (static_cast<DWORD>(Image.Width) * 3 + 3) & ~3u;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = Image.Width;
  header.biHeight = Image.Height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biSizeImage = rowBytes * Image.Height;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = file.bfOffBits + header.biSizeImage;
  std::ofstream out(Path.c_str(), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&header), sizeof(header));
  std::vector<char> row(rowBytes, 0);
  for (int y = Image.Height - 1; y >= 0; --y) {
    for (int x = 0; x < Image.Width; ++x) {
      const DWORD pixel = Image.At(x, y);
      row[x * 3] = static_cast<char>(pixel & 0xFF);
      row[x * 3 + 1] = static_cast<char>((pixel >> 8) & 0xFF);
      row[x * 3 + 2] = static_cast<char>((pixel >> 16) & 0xFF);
    }
    out.write(row.data(), rowBytes);
  }
  return static_cast<bool>(out);
}

}  // namespace skx::test
