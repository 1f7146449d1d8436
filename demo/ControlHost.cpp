// Hosting through atl.dll: AtlAxWinInit, an AtlAxWin window, AtlAxCreateControlEx with a saved
// state. The ATL host connects no event sink, so the demo advises its own sink, on the second event
// interface (the one that also brings clicks, keys and the questions before a change).
#include "ControlHost.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace demo {

namespace {

using TAtlAxWinInit = BOOL(WINAPI*)();
using TAtlAxCreateControlEx = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**, IUnknown**, REFIID,
                                               IUnknown*);

const wchar_t* const ProgId = L"SkedraXControl.SkedraX";

void Check(HRESULT Result, const char* Step) {
  if (FAILED(Result)) {
    char text[160];
    std::snprintf(text, sizeof text, "%s failed (0x%08lX)", Step, static_cast<unsigned long>(Result));
    throw std::runtime_error(text);
  }
}

template <typename T>
T Export(HMODULE Module, const char* Name) {
  FARPROC address = ::GetProcAddress(Module, Name);
  if (address == nullptr) throw std::runtime_error(std::string("atl.dll lacks ") + Name);
  return reinterpret_cast<T>(reinterpret_cast<void*>(address));
}

// The state a form designer stores with its form: here that of a control with a single border,
// saved once at start-up. Loading it runs the control's Loaded, which adds its navigation buttons
// and its menu; a control that is only initialised as new has neither.
IStream* SavedState() {
  CLSID classId{};
  Check(::CLSIDFromProgID(ProgId, &classId), "Looking up SkedraXControl.SkedraX (is the control registered?)");
  ISkedraX* control = nullptr;
  Check(::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_ISkedraX, reinterpret_cast<void**>(&control)),
        "Creating the control");
  IPersistStreamInit* persist = nullptr;
  IStream* stream = nullptr;
  HRESULT result = control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist));
  if (SUCCEEDED(result)) result = persist->InitNew();
  if (SUCCEEDED(result)) result = control->put_BorderStyle(bsSingle);
  if (SUCCEEDED(result)) result = ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  if (SUCCEEDED(result)) result = persist->Save(stream, TRUE);
  if (persist != nullptr) persist->Release();
  control->Release();
  if (FAILED(result) && stream != nullptr) stream->Release();
  Check(result, "Saving the control's state");
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return stream;
}

}  // namespace

TControlHost::TControlHost(HWND Parent, IDispatch* Sink) {
  try {
    FAtl = ::LoadLibraryW(L"atl.dll");
    if (FAtl == nullptr) throw std::runtime_error("atl.dll cannot be loaded");
    Export<TAtlAxWinInit>(FAtl, "AtlAxWinInit")();
    auto createControl = Export<TAtlAxCreateControlEx>(FAtl, "AtlAxCreateControlEx");
    FWindow = ::CreateWindowExW(0, L"AtlAxWin", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100, Parent,
                                nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (FWindow == nullptr) throw std::runtime_error("The ATL host window cannot be created");

    IStream* state = SavedState();
    IUnknown* control = nullptr;
    HRESULT result = createControl(ProgId, FWindow, state, &FContainer, &control, IID_NULL, nullptr);
    state->Release();
    Check(result, "AtlAxCreateControlEx");
    result = control->QueryInterface(IID_ISkedraX2, reinterpret_cast<void**>(&FControl));
    control->Release();
    Check(result, "Asking the control for ISkedraX2 (is it an older version?)");

    IConnectionPointContainer* points = nullptr;
    Check(FControl->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points)),
          "Asking the control for its connection points");
    result = points->FindConnectionPoint(DIID_ISkedraXEvents2, &FEvents);
    points->Release();
    Check(result, "Finding the event connection point");
    if (Sink != nullptr) Check(FEvents->Advise(Sink, &FCookie), "Connecting the event sink");
  } catch (...) {
    Close();
    throw;
  }
}

TControlHost::~TControlHost() { Close(); }

void TControlHost::Close() {
  if (FEvents != nullptr) {
    if (FCookie != 0) FEvents->Unadvise(FCookie);
    FEvents->Release();
    FEvents = nullptr;
  }
  if (FControl != nullptr) FControl->Release();
  FControl = nullptr;
  if (FContainer != nullptr) FContainer->Release();
  FContainer = nullptr;
  // The host window releases the control with it.
  if (FWindow != nullptr) ::DestroyWindow(FWindow);
  FWindow = nullptr;
}

}  // namespace demo
