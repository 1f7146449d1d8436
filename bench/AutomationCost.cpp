// Cost of one call on the control and on a TaskObjectX: through the vtable, and through
// IDispatch::Invoke with DISPIDs looked up once, next to the same Invoke calls on the platform's
// Scripting.Dictionary. Prints the median of five rounds of 100,000 calls in ns per call.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>

#include "SkedraXControl_TLB/SkedraXControl_TLB.h"

namespace {

constexpr int Calls = 100000;
constexpr int Rounds = 5;

template <typename Call>
double NsPerCall(Call call) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  double figures[Rounds];
  for (double& figure : figures) {
    LARGE_INTEGER start;
    LARGE_INTEGER stop;
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < Calls; ++i) call();
    ::QueryPerformanceCounter(&stop);
    figure = static_cast<double>(stop.QuadPart - start.QuadPart) * 1e9 / static_cast<double>(frequency.QuadPart) /
             Calls;
  }
  std::sort(figures, figures + Rounds);
  return figures[Rounds / 2];
}

DISPID IdOf(IDispatch* target, const wchar_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = DISPID_UNKNOWN;
  target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

// A property get with the given arguments (last argument first, as Invoke takes them).
HRESULT Get(IDispatch* target, DISPID id, VARIANT* args = nullptr, UINT count = 0) {
  DISPPARAMS params = {args, nullptr, count, 0};
  VARIANT result;
  ::VariantInit(&result);
  HRESULT hr =
      target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &params, &result, nullptr, nullptr);
  ::VariantClear(&result);
  return hr;
}

// A property put: args[0] is the value, any further ones the index (last first).
HRESULT Put(IDispatch* target, DISPID id, VARIANT* args, UINT count) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {args, &named, count, 1};
  return target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
}

void Row(const char* name, double vtable, double invoke, double byName, double dictionary) {
  std::printf("%-26s%9.0f%9.0f%9.0f%12.0f%8.2f\n", name, vtable, invoke, byName, dictionary, invoke / dictionary);
}

void Release(IUnknown* object) {
  if (object != nullptr) object->Release();
}

// False when a call fails before timing.
bool Measure(ISkedraX* control, ITaskObject* task, IDispatch* dictionary) {
  const DISPID controlCount = IdOf(control, L"Count");
  const DISPID taskPriority = IdOf(task, L"Priority");
  const DISPID dictionaryCount = IdOf(dictionary, L"Count");
  const DISPID dictionaryItem = IdOf(dictionary, L"Item");

  long count = 0;
  ITaskPriority priority = tpNormal;
  VARIANT high;
  ::VariantInit(&high);
  high.vt = VT_I4;
  high.lVal = tpHigh;
  // Item("key") = 2, arguments last first.
  VARIANT item[2];
  ::VariantInit(&item[0]);
  item[0].vt = VT_I4;
  item[0].lVal = 2;
  ::VariantInit(&item[1]);
  item[1].vt = VT_BSTR;
  item[1].bstrVal = ::SysAllocString(L"key");
  VARIANT* key = &item[1];

  if (FAILED(control->get_Count(&count)) || FAILED(task->put_Priority(tpHigh)) ||
      FAILED(task->get_Priority(&priority)) || FAILED(Get(control, controlCount)) ||
      FAILED(Put(task, taskPriority, &high, 1)) || FAILED(Get(task, taskPriority)) ||
      FAILED(Put(dictionary, dictionaryItem, item, 2)) || FAILED(Get(dictionary, dictionaryCount)) ||
      FAILED(Get(dictionary, dictionaryItem, key, 1))) {
    std::printf("a call failed before timing\n");
    ::VariantClear(key);
    return false;
  }
  std::printf("%-26s%9s%9s%9s%12s%8s\n", "call (C++)", "vtable", "Invoke", "by name", "Dictionary", "ratio");
  Row("Count", NsPerCall([&] { control->get_Count(&count); }), NsPerCall([&] { Get(control, controlCount); }),
      NsPerCall([&] { Get(control, IdOf(control, L"Count")); }), NsPerCall([&] { Get(dictionary, dictionaryCount); }));
  Row("property get (Priority)", NsPerCall([&] { task->get_Priority(&priority); }),
      NsPerCall([&] { Get(task, taskPriority); }), NsPerCall([&] { Get(task, IdOf(task, L"Priority")); }),
      NsPerCall([&] { Get(dictionary, dictionaryItem, key, 1); }));
  Row("property put (Priority)", NsPerCall([&] { task->put_Priority(tpHigh); }),
      NsPerCall([&] { Put(task, taskPriority, &high, 1); }),
      NsPerCall([&] { Put(task, IdOf(task, L"Priority"), &high, 1); }),
      NsPerCall([&] { Put(dictionary, dictionaryItem, item, 2); }));
  std::printf("(ns per call, median of %d rounds of %d calls; \"by name\" looks the DISPID up on every call;\n"
              " Dictionary is Invoke with a cached DISPID, ratio is Invoke over Dictionary)\n",
              Rounds, Calls);
  ::VariantClear(key);
  return true;
}

}  // namespace

int main() {
  if (FAILED(::CoInitialize(nullptr))) return 1;
  ISkedraX* control = nullptr;
  ITaskObject* task = nullptr;
  IDispatch* dictionary = nullptr;
  CLSID dictionaryClass;
  const bool created =
      SUCCEEDED(::CoCreateInstance(CLSID_SkedraX, nullptr, CLSCTX_INPROC_SERVER, IID_ISkedraX,
                                   reinterpret_cast<void**>(&control))) &&
      SUCCEEDED(::CoCreateInstance(CLSID_TaskObjectX, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskObject,
                                   reinterpret_cast<void**>(&task))) &&
      SUCCEEDED(::CLSIDFromProgID(L"Scripting.Dictionary", &dictionaryClass)) &&
      SUCCEEDED(::CoCreateInstance(dictionaryClass, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&dictionary)));
  if (!created) std::printf("cannot create the objects (is SkedraXControl.ocx registered?)\n");
  const bool measured = created && Measure(control, task, dictionary);
  Release(dictionary);
  Release(task);
  Release(control);
  ::CoUninitialize();
  return measured ? 0 : 1;
}
