// SkedraDemo.exe: hosts the schedule control in a window. "/autotest <folder>" runs a short
// scripted session that writes screenshots and the event log into the folder, then exits.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <exception>
#include <fstream>
#include <string>

#include "MainWindow.h"

namespace {

// Where the self-test writes, or empty for an interactive session.
std::wstring AutoTestFolder() {
  int count = 0;
  LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::wstring folder;
  for (int i = 1; i + 1 < count; ++i)
    if (::lstrcmpiW(arguments[i], L"/autotest") == 0) folder = arguments[i + 1];
  ::LocalFree(arguments);
  return folder;
}

void Report(const std::wstring& Folder, const std::wstring& Text) {
  if (Folder.empty()) {
    ::MessageBoxW(nullptr, Text.c_str(), L"SkedraXControl demo", MB_OK | MB_ICONERROR);
    return;
  }
  std::wofstream((Folder + L"\\events.log").c_str()) << Text << L"\nAUTOTEST FAILED\n";
}

int Run(const std::wstring& Folder, int Show) {
  demo::TMainWindow main;
  main.Create(1024, 768, Show);
  if (!Folder.empty()) main.StartAutoTest(Folder);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return main.ExitCode();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int Show) {
  const std::wstring folder = AutoTestFolder();
  if (!folder.empty()) ::CreateDirectoryW(folder.c_str(), nullptr);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  if (FAILED(::OleInitialize(nullptr))) {
    Report(folder, L"OLE cannot be initialised");
    return 1;
  }
  int exitCode = 1;
  try {
    exitCode = Run(folder, Show);
  } catch (const std::exception& e) {
    const std::string text = e.what();
    Report(folder, L"The demo cannot start: " + std::wstring(text.begin(), text.end()));
  } catch (...) {
    Report(folder, L"The demo cannot start");
  }
  ::OleUninitialize();
  return exitCode;
}
