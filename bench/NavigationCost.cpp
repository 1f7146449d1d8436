// Cost of moving the weekly view a week forward and back, and of a full repaint, in the control
// hosted by the platform's ATL container at 1000 x 760 pixels, with 0 to 1,000 tasks of 30 to
// 120 minutes spread over the rows in view of the shown Monday to Friday. Every step is followed
// by a synchronous repaint of the control and its child windows; prints the median of five
// rounds in ms. The task counts may be given as arguments instead.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "ControlHost.h"

namespace {

constexpr int Width = 1000;
constexpr int Height = 760;
constexpr int Rounds = 5;
// Monday 7 December 2026.
constexpr double Monday = 46363.0;
constexpr double Minute = 1.0 / 1440;

double Now() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void Repaint(HWND window, UINT flags) { ::RedrawWindow(window, nullptr, nullptr, flags | RDW_UPDATENOW | RDW_ALLCHILDREN); }

void Press(HWND button) {
  ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  ::SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

// The navigation buttons are the control's child windows at its left and right edges.
void FindButtons(HWND control, HWND& previous, HWND& next) {
  previous = next = nullptr;
  for (HWND child = ::GetWindow(control, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, control, reinterpret_cast<POINT*>(&rect), 2);
    if (rect.top == 0 && rect.left == 0) previous = child;
    if (rect.top == 0 && rect.left > Width / 2) next = child;
  }
  if (previous == nullptr || next == nullptr) throw std::runtime_error("the navigation buttons are missing");
}

// Start times step through the first 40 rows of 15 minutes (the rows in view), days through the
// week, durations through 30 to 120 minutes.
void AddTasks(ISkedraX& control, int count) {
  for (int i = 0; i < count; ++i) {
    ITaskObject* task = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_TaskObjectX, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskObject,
                                  reinterpret_cast<void**>(&task))))
      throw std::runtime_error("TaskObjectX cannot be created");
    double start = Monday + i % 5 + ((i * 7) % 40) * 15 * Minute;
    task->put_StartDateTime(start);
    task->put_FinishDateTime(start + (30 + (i * 11) % 7 * 15) * Minute);
    BSTR description = ::SysAllocString(L"Meeting");
    task->put_Description(description);
    ::SysFreeString(description);
    HRESULT result = control.AddTask(task);
    task->Release();
    if (FAILED(result)) throw std::runtime_error("AddTask failed");
  }
}

template <typename Step>
double MedianMs(Step step) {
  double figures[Rounds];
  for (double& figure : figures) {
    double start = Now();
    step();
    figure = Now() - start;
  }
  std::sort(figures, figures + Rounds);
  return figures[Rounds / 2];
}

void Measure(HWND frame, int tasks) {
  demo::TControlHost host(frame, nullptr);
  ::MoveWindow(host.Window(), 0, 0, Width, Height, TRUE);
  Pump();
  ISkedraX& control = host.Control();
  control.put_SkedraType(skWeekly);
  AddTasks(control, tasks);
  control.put_ActiveDate(Monday);
  HWND grid = host.ControlWindow();
  HWND previous = nullptr;
  HWND next = nullptr;
  FindButtons(grid, previous, next);
  Repaint(frame, RDW_INVALIDATE);
  Pump();
  // A round is a step forward and one back: each step is half of it.
  double navigation = MedianMs([&] {
                        Press(next);
                        Repaint(grid, 0);
                        Press(previous);
                        Repaint(grid, 0);
                      }) /
                      2;
  double repaint = MedianMs([&] { Repaint(grid, RDW_INVALIDATE | RDW_ERASE); });
  long count = 0;
  control.get_Count(&count);


  std::printf("%8ld %16.1f %14.1f\n", count, navigation, repaint);
  std::fflush(stdout);
}

}  // namespace

// The task counts may be given as arguments.
int main(int argc, char** argv) {
  if (FAILED(::CoInitialize(nullptr))) return 1;
  int status = 0;
  HWND frame = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, Width, Height,
                                 nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  try {
    if (frame == nullptr) throw std::runtime_error("no frame window (is there a display?)");
    std::printf("%8s %16s %14s\n", "tasks", "navigation ms", "repaint ms");
    std::vector<int> counts{0, 50, 300, 1000};
    if (argc > 1) counts.clear();
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    for (int tasks : counts) Measure(frame, tasks);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "navigation benchmark: %s\n", failure.what());
    status = 1;
  }
  if (frame != nullptr) ::DestroyWindow(frame);
  ::CoUninitialize();
  return status;
}
