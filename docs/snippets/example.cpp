// The schedule control from C++: settings, a task made with TaskObjectX, and reading it back.
// Build: g++ example.cpp -I<package folder> -lole32 -loleaut32 (or cl example.cpp ole32.lib oleaut32.lib).
#include <cstdio>

#include "SkedraXControl.h"

int main() {
  if (FAILED(::CoInitialize(nullptr))) return 1;
  ISkedraX* skedra = nullptr;
  ITaskObject* task = nullptr;
  HRESULT hr = ::CoCreateInstance(CLSID_SkedraX, nullptr, CLSCTX_INPROC_SERVER, IID_ISkedraX,
                                  reinterpret_cast<void**>(&skedra));
  if (SUCCEEDED(hr))
    hr = ::CoCreateInstance(CLSID_TaskObjectX, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskObject,
                            reinterpret_cast<void**>(&task));
  if (FAILED(hr)) {
    std::printf("SkedraXControl.ocx is not registered (0x%08lX)\n", static_cast<unsigned long>(hr));
    return 1;
  }

  const double day = 46365.0;  // 9 December 2026: days since 30 December 1899
  skedra->put_SkedraType(skWeekly);
  skedra->put_TimeScale(30);
  skedra->put_ActiveDate(day);

  BSTR text = ::SysAllocString(L"Design review");
  task->put_Description(text);
  ::SysFreeString(text);
  task->put_StartDateTime(day + 10.0 / 24);
  task->put_FinishDateTime(day + 11.0 / 24);  // start of the last slot that the task covers
  task->put_Priority(tpHigh);
  hr = skedra->AddTask(task);                 // the control takes the task over
  task->Release();

  long count = 0;
  double weekStart = 0;
  skedra->get_Count(&count);
  skedra->get_ActiveDate(&weekStart);
  ITaskObject* first = nullptr;
  if (SUCCEEDED(hr) && SUCCEEDED(skedra->get_Items(0, &first))) {
    BSTR description = nullptr;
    first->get_Description(&description);
    std::printf("%ld task(s): %ls, week from day %.0f\n", count, description, weekStart);
    ::SysFreeString(description);
    first->Release();
  }
  skedra->Release();
  ::CoUninitialize();
  return SUCCEEDED(hr) ? 0 : 1;
}
