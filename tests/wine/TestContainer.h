// A container of our own for the control tests: a frame window with a client site that
// supports in-place activation, an event sink that records, a property bag, memory streams for
// saved state and the message pump.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Framework/Com/ComObject.h"
#include "SkedraXControl_TLB/SkedraXControl_TLB.h"

namespace skx::test {

// The top-level window of the tests' containers, one for the program, sized as asked.
HWND ContainerFrame(int width, int height);

// The ambient properties a form answers through its client site's IDispatch: each DISPID in
// Values is answered with a copy of its value, any other fails as a site does that lacks it.
class TAmbientDispatch : public TDispatchObject<TLifetime::Owned> {
 public:
  TAmbientDispatch() : TDispatchObject(1, IID_IDispatch) {}
  ~TAmbientDispatch() override;
  TAmbientDispatch(const TAmbientDispatch&) = delete;
  TAmbientDispatch& operator=(const TAmbientDispatch&) = delete;

  std::map<DISPID, VARIANT> Values;
  int Asked = 0;

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                   UINT*) override;
};

// A key that the control offered its container through IOleControlSite::TranslateAccelerator.
struct TOfferedKey {
  UINT Message;
  WPARAM Key;
  DWORD Modifiers;  // KEYMOD_ flags
  bool operator==(const TOfferedKey& other) const {
    return Message == other.Message && Key == other.Key && Modifiers == other.Modifiers;
  }
};

// One object for the client site, the in-place site, the control site and the frame, as a
// simple form host has.
class TTestSite : public IOleClientSite,
                  public IOleInPlaceSite,
                  public IOleControlSite,
                  public IOleInPlaceFrame,
                  public IAdviseSinkEx {
 public:
  TTestSite(int width, int height);
  virtual ~TTestSite() = default;
  TTestSite(const TTestSite&) = delete;
  TTestSite& operator=(const TTestSite&) = delete;

  HWND Frame() const { return FFrame; }
  IOleInPlaceActiveObject* ActiveObject() const { return FActiveObject; }
  int InPlaceActivations = 0;
  int InPlaceDeactivations = 0;
  int UIActivations = 0;
  int ViewChanges = 0;
  // The frame's EnableModeless calls, "-" for FALSE and "+" for TRUE.
  std::string Modeless;
  // When set, the site's IDispatch that answers the ambient properties.
  TAmbientDispatch* Ambient = nullptr;
  // What the control offered the container, and what the container answers (S_OK: it took the
  // key, as a form takes Tab to move the focus on).
  std::vector<TOfferedKey> OfferedKeys;
  HRESULT OfferedKeyAnswer = S_FALSE;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override { return --FRefCount; }

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
  HRESULT STDMETHODCALLTYPE OnUIActivate() override;
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }
  // IOleControlSite
  HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** control) override;
  HRESULT STDMETHODCALLTYPE TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg, DWORD modifiers) override;
  HRESULT STDMETHODCALLTYPE OnFocus(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override { return E_NOTIMPL; }
  // IOleInPlaceUIWindow, IOleInPlaceFrame
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override;
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }
  // IAdviseSinkEx
  void STDMETHODCALLTYPE OnDataChange(FORMATETC*, STGMEDIUM*) override {}
  void STDMETHODCALLTYPE OnViewChange(DWORD, LONG) override { ++ViewChanges; }
  void STDMETHODCALLTYPE OnRename(IMoniker*) override {}
  void STDMETHODCALLTYPE OnSave() override {}
  void STDMETHODCALLTYPE OnClose() override {}
  void STDMETHODCALLTYPE OnViewStatusChange(DWORD) override {}

 private:
  HWND FFrame = nullptr;
  RECT FPos;
  IOleInPlaceActiveObject* FActiveObject = nullptr;
  ULONG FRefCount = 1;
};

// One event the sink received: its DISPID and the ID of the task it carried (or the new ID).
struct TEventRecord {
  DISPID Id;
  long TaskId;
  bool operator==(const TEventRecord& other) const { return Id == other.Id && TaskId == other.TaskId; }
};

// Records every event; OnGetNewID answers NewId, a cancelable event Cancel, OnKeyPress Key when
// set; OnEvent runs inside each event. The test owns the sink; the control's references only
// count (RefCount shows them). It answers for ISkedraXEvents unless told another interface.
class TEventSink : public TDispatchObject<TLifetime::Owned> {
 public:
  explicit TEventSink(REFIID events = DIID_ISkedraXEvents);

  std::vector<TEventRecord> Events;
  long NewId = 0;
  bool Cancel = false;
  std::optional<SHORT> Key;
  // The new start and finish of the last move or resize asked about.
  double NewStart = 0;
  double NewFinish = 0;
  std::function<void(DISPID)> OnEvent;
  // When set, the sink answers only IDispatch, as a script engine's sink does.
  bool DispatchOnly = false;

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override;

 protected:
  bool Answers(REFIID riid) const override;
};

// A property bag over a map of values.
class TPropertyBag : public IPropertyBag {
 public:
  TPropertyBag() = default;
  virtual ~TPropertyBag();
  TPropertyBag(const TPropertyBag&) = delete;
  TPropertyBag& operator=(const TPropertyBag&) = delete;

  std::map<std::wstring, VARIANT> Values;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override;
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;
};

// The whole content of a stream, read from its start.
std::vector<BYTE> StreamBytes(IStream* stream);
// A new memory stream that holds the bytes, positioned at its start; one reference for the caller.
IStream* StreamOf(const std::vector<BYTE>& bytes);

// Dispatches the messages waiting for this thread, as a container's message loop does.
void PumpMessages();

// The object's interface, expected to be there; one reference for the caller.
template <typename T>
T* Query(IUnknown* object, REFIID iid) {
  T* result = nullptr;
  EXPECT_EQ(object->QueryInterface(iid, reinterpret_cast<void**>(&result)), S_OK);
  return result;
}

// In-place activation at pos in the site's frame, as a form host does it after loading the
// control; the control's window, or null.
HWND ActivateInPlace(IOleObject* object, TTestSite& site, const RECT& pos);

// Teardown as a form host does it: deactivation, close, no site, the last reference released
// (which must end the control); the pointer is null afterwards.
void CloseAndRelease(IOleObject*& object);

// Quick activation as a form host calls it: the site, the event sink and the site as the
// advise sink in one call.
HRESULT QuickActivate(IUnknown* object, TTestSite& site, IUnknown* sink, QACONTROL& result);

// The description of the thread's last error information, or "<none>".
std::wstring LastErrorDescription();

// DllCanUnloadNow of the control library as loaded into this process by COM.
HRESULT ControlCanUnloadNow();

}  // namespace skx::test
