// The test container: frame window, sites, recording event sink, property bag, streams, message pump.
#include "TestContainer.h"

#include <oleauto.h>

#include "SkedraXControl_TLB/SkedraXControl_TLB.h"

namespace skx::test {

namespace {

const wchar_t* const FrameClass = L"SkxTestContainerFrame";

void RegisterFrameClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ::DefWindowProcW;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = FrameClass;
  ::RegisterClassW(&windowClass);
  registered = true;
}

}  // namespace

// Destroying a top-level window costs Wine two seconds here: the tests share one.
HWND ContainerFrame(int width, int height) {
  RegisterFrameClass();
  static HWND frame = ::CreateWindowExW(0, FrameClass, L"Container", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                        0, width, height, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowPos(frame, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  return frame;
}

TTestSite::TTestSite(int width, int height)
    : FFrame(ContainerFrame(width + 20, height + 20)), FPos{10, 10, 10 + width, 10 + height} {}

HRESULT STDMETHODCALLTYPE TTestSite::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (::IsEqualIID(riid, IID_IUnknown) || ::IsEqualIID(riid, IID_IOleClientSite)) {
    *object = static_cast<IOleClientSite*>(this);
  } else if (::IsEqualIID(riid, IID_IOleWindow) || ::IsEqualIID(riid, IID_IOleInPlaceSite)) {
    *object = static_cast<IOleInPlaceSite*>(this);
  } else if (::IsEqualIID(riid, IID_IOleControlSite)) {
    *object = static_cast<IOleControlSite*>(this);
  } else if (::IsEqualIID(riid, IID_IOleInPlaceUIWindow) || ::IsEqualIID(riid, IID_IOleInPlaceFrame)) {
    *object = static_cast<IOleInPlaceFrame*>(this);
  } else if (::IsEqualIID(riid, IID_IAdviseSink) || ::IsEqualIID(riid, IID_IAdviseSinkEx)) {
    *object = static_cast<IAdviseSinkEx*>(this);
  } else if (::IsEqualIID(riid, IID_IDispatch) && Ambient != nullptr) {
    return Ambient->QueryInterface(riid, object);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TTestSite::GetContainer(IOleContainer** container) {
  if (container != nullptr) *container = nullptr;
  return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE TTestSite::GetExtendedControl(IDispatch** control) {
  if (control != nullptr) *control = nullptr;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TTestSite::TranslateAccelerator(MSG* msg, DWORD modifiers) {
  OfferedKeys.push_back(TOfferedKey{msg->message, msg->wParam, modifiers});
  return OfferedKeyAnswer;
}

HRESULT STDMETHODCALLTYPE TTestSite::GetWindow(HWND* window) {
  *window = FFrame;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TTestSite::OnInPlaceActivate() {
  ++InPlaceActivations;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TTestSite::OnUIActivate() {
  ++UIActivations;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TTestSite::OnInPlaceDeactivate() {
  ++InPlaceDeactivations;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TTestSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                                      LPRECT pos, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  *frame = this;
  AddRef();
  *doc = nullptr;
  *pos = FPos;
  *clip = FPos;
  info->fMDIApp = FALSE;
  info->hwndFrame = FFrame;
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TTestSite::EnableModeless(BOOL enable) {
  Modeless += enable ? "+" : "-";
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TTestSite::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
  FActiveObject = object;
  return S_OK;
}

HWND ActivateInPlace(IOleObject* object, TTestSite& site, const RECT& pos) {
  RECT place = pos;
  if (FAILED(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, site.Frame(), &place))) return nullptr;
  IOleInPlaceObject* inPlace = Query<IOleInPlaceObject>(object, IID_IOleInPlaceObject);
  HWND window = nullptr;
  inPlace->SetObjectRects(&place, &place);
  inPlace->GetWindow(&window);
  inPlace->Release();
  return window;
}

void CloseAndRelease(IOleObject*& object) {
  IOleInPlaceObject* inPlace = Query<IOleInPlaceObject>(object, IID_IOleInPlaceObject);
  inPlace->InPlaceDeactivate();
  inPlace->Release();
  object->Close(OLECLOSE_NOSAVE);
  object->SetClientSite(nullptr);
  EXPECT_EQ(object->Release(), 0u);
  object = nullptr;
}

TAmbientDispatch::~TAmbientDispatch() {
  for (auto& entry : Values) ::VariantClear(&entry.second);
}

HRESULT STDMETHODCALLTYPE TAmbientDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*,
                                                   VARIANT* result, EXCEPINFO*, UINT*) {
  ++Asked;
  auto found = Values.find(id);
  if ((flags & DISPATCH_PROPERTYGET) == 0 || found == Values.end()) return DISP_E_MEMBERNOTFOUND;
  if (result == nullptr) return S_OK;
  ::VariantInit(result);
  return ::VariantCopy(result, &found->second);
}

TEventSink::TEventSink(REFIID events) : TDispatchObject(1, events) {}

bool TEventSink::Answers(REFIID riid) const {
  return DispatchOnly ? ::IsEqualIID(riid, IID_IDispatch) : TDispatchObject::Answers(riid);
}

HRESULT STDMETHODCALLTYPE TEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                             EXCEPINFO*, UINT*) {
  long taskId = -1;
  // The arguments come last first: a move's Cancel, then its finish, then its start.
  for (UINT i = 0; i < params->cArgs; ++i) {
    VARIANT& arg = params->rgvarg[i];
    if (arg.vt == (VT_I4 | VT_BYREF)) {
      *arg.plVal = NewId;
      taskId = NewId;
    } else if (arg.vt == (VT_BOOL | VT_BYREF)) {
      *arg.pboolVal = Cancel ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (arg.vt == (VT_I2 | VT_BYREF)) {
      taskId = *arg.piVal;
      if (Key) *arg.piVal = *Key;
    } else if (arg.vt == VT_R8) {
      (i == 1 ? NewFinish : NewStart) = arg.dblVal;
    } else if (arg.vt == VT_DISPATCH) {
      ITaskObject* task = nullptr;
      if (SUCCEEDED(arg.pdispVal->QueryInterface(IID_ITaskObject, reinterpret_cast<void**>(&task)))) {
        task->get_ID(&taskId);
        task->Release();
      }
    }
  }
  Events.push_back({id, taskId});
  if (OnEvent) OnEvent(id);
  return S_OK;
}

TPropertyBag::~TPropertyBag() {
  for (auto& entry : Values) ::VariantClear(&entry.second);
}

HRESULT STDMETHODCALLTYPE TPropertyBag::QueryInterface(REFIID riid, void** object) {
  if (::IsEqualIID(riid, IID_IUnknown) || ::IsEqualIID(riid, IID_IPropertyBag)) {
    *object = static_cast<IPropertyBag*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE TPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  auto found = Values.find(name);
  if (found == Values.end()) return E_INVALIDARG;
  // The caller's variant carries only the wanted type, as with a container's bag.
  VARTYPE wanted = value->vt;
  VARIANT copy;
  ::VariantInit(&copy);
  HRESULT result = ::VariantCopy(&copy, &found->second);
  if (SUCCEEDED(result) && wanted != VT_EMPTY && wanted != copy.vt) {
    result = ::VariantChangeType(&copy, &copy, 0, wanted);
  }
  if (SUCCEEDED(result)) *value = copy;
  return result;
}

HRESULT STDMETHODCALLTYPE TPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
  VARIANT& slot = Values[name];
  ::VariantClear(&slot);
  return ::VariantCopy(&slot, value);
}

std::vector<BYTE> StreamBytes(IStream* stream) {
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  std::vector<BYTE> bytes(static_cast<size_t>(stat.cbSize.QuadPart));
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  return bytes;
}

IStream* StreamOf(const std::vector<BYTE>& bytes) {
  IStream* stream = nullptr;
  ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  if (!bytes.empty()) stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  return stream;
}

void PumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

std::wstring LastErrorDescription() {
  IErrorInfo* info = nullptr;
  if (::GetErrorInfo(0, &info) != S_OK || info == nullptr) return L"<none>";
  BSTR description = nullptr;
  info->GetDescription(&description);
  std::wstring text = description != nullptr ? description : L"";
  ::SysFreeString(description);
  info->Release();
  return text;
}

HRESULT QuickActivate(IUnknown* object, TTestSite& site, IUnknown* sink, QACONTROL& result) {
  IQuickActivate* quick = nullptr;
  HRESULT hr = object->QueryInterface(IID_IQuickActivate, reinterpret_cast<void**>(&quick));
  if (FAILED(hr)) return hr;
  QACONTAINER container{};
  container.cbSize = sizeof(container);
  container.pClientSite = &site;
  container.pUnkEventSink = sink;
  container.pAdviseSink = &site;
  result = QACONTROL{};
  result.cbSize = sizeof(result);
  hr = quick->QuickActivate(&container, &result);
  quick->Release();
  return hr;
}

HRESULT ControlCanUnloadNow() {
  HMODULE module = ::GetModuleHandleW(L"SkedraXControl.ocx");
  if (module == nullptr) return S_OK;
  auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
      reinterpret_cast<void*>(::GetProcAddress(module, "DllCanUnloadNow")));
  return canUnload();
}

}  // namespace skx::test
