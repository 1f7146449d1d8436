// ActiveX control base: embedding, in-place activation, drawing, persistence and the event
// connection point around one window control.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>

#include <memory>
#include <vector>

#include "Framework/Com/ActiveXControlFactory.h"
#include "Framework/Com/AutoObject.h"
#include "Framework/Com/ComUtil.h"
#include "Framework/Com/EventConnection.h"
#include "Framework/Win32/ModalHost.h"

namespace skx {

class TWin32WindowPeer;
class TActiveXControlBase;

// While the control is in-place active its container's window owns the control's dialogs, and
// the container's frame holds back its modeless windows while one is up; otherwise the active
// window owns them.
class TControlModalHost : public TModalHost {
 public:
  explicit TControlModalHost(TActiveXControlBase& control) : FControl(control) {}
  HWND ModalOwner() override;
  void EnableModeless(bool Enable) override;

 private:
  TActiveXControlBase& FControl;
};

// The standard control interfaces; the object's IUnknown is the one of TActiveXControl below.
class TActiveXControlBase : public IOleObject,
                            public IOleInPlaceObject,
                            public IOleInPlaceActiveObject,
                            public IOleControl,
                            public IViewObject2,
                            public IPersistStreamInit,
                            public IPersistStorage,
                            public IPersistPropertyBag,
                            public IQuickActivate,
                            public IProvideClassInfo2,
                            public IConnectionPointContainer,
                            public ISpecifyPropertyPages {
 public:
  explicit TActiveXControlBase(TActiveXControlFactory& factory);
  virtual ~TActiveXControlBase();
  TActiveXControlBase(const TActiveXControlBase&) = delete;
  TActiveXControlBase& operator=(const TActiveXControlBase&) = delete;

  TWinControl& Control() const { return *FControl; }
  bool InPlaceActive() const { return FInPlaceActive; }

  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** data) override;
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG msg, IOleClientSite* activeSite, LONG index,
                                   HWND parent, LPCRECT posRect) override;
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* classId) override;
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* userType) override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* connection) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD connection) override;
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advise) override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleWindow, IOleInPlaceObject
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE UIDeactivate() override;
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT posRect, LPCRECT clipRect) override;
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

  // IOleInPlaceActiveObject
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override;
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

  // IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID id) override;
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL) override { return S_OK; }

  // IViewObject2
  HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                                 HDC targetDevice, HDC dc, LPCRECTL bounds, LPCRECTL metafileBounds,
                                 BOOL(STDMETHODCALLTYPE* carryOn)(ULONG_PTR), ULONG_PTR carryOnArg) override;
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) override;
  HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

  // IPersist and its three kinds of storage
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* classId) override;
  HRESULT STDMETHODCALLTYPE IsDirty() override { return FDirty ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE InitNew() override;
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clearDirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
  HRESULT STDMETHODCALLTYPE InitNew(IStorage* storage) override;
  HRESULT STDMETHODCALLTYPE Load(IStorage* storage) override;
  HRESULT STDMETHODCALLTYPE Save(IStorage* storage, BOOL sameAsLoad) override;
  HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE HandsOffStorage() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

  // IQuickActivate
  HRESULT STDMETHODCALLTYPE QuickActivate(QACONTAINER* container, QACONTROL* control) override;
  HRESULT STDMETHODCALLTYPE SetContentExtent(LPSIZEL size) override;
  HRESULT STDMETHODCALLTYPE GetContentExtent(LPSIZEL size) override;

  // IProvideClassInfo2
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

  // ISpecifyPropertyPages
  HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;

 protected:
  // Called once, right after the window control was made.
  virtual void InitializeControl() {}
  // The property pages of the control, as class identifiers.
  virtual void DefinePages(std::vector<CLSID>& pages) = 0;

  // Finishes construction: makes the window control and runs the initialisation hook. The
  // derived class calls it from its own constructor, where the hooks are its own.
  void CreateControl();
  // Frees the window control. The window control's events call into the derived object, so a
  // derived class that handles them calls this from its destructor.
  void DestroyControl();
  IUnknown* Unknown() { return static_cast<IOleObject*>(this); }
  // What the control's dialogs are shown with.
  TModalHost& ModalHost() { return FModalHost; }
  // The sink connected to the factory's event interface of that index (0, the default source),
  // or null.
  IDispatch* EventSink(size_t index = 0) const { return FEventPoints[index]->Sink(); }
  // After a property changed: the saved state differs now, and a container that draws the
  // control itself (design mode, no window) is told to draw it again. A control that follows
  // its parent's colour or font again takes the container's.
  void PropertyChanged();

  // Every member runs its body through this (TErrorTrap): no exception leaves a method of the
  // platform's.
  template <typename... TArgs>
  HRESULT Trap(TArgs&&... args) const noexcept {
    return FTrap(std::forward<TArgs>(args)...);
  }

  bool QueryControlInterface(REFIID riid, void** object);

 private:
  friend class TEventConnectionPoint;
  friend class TControlModalHost;

  void ShowPropertyPages(HWND parent);
  void CreateControlWindow(HWND parent);
  void ActivateInPlace(bool uiActivate, HWND parent, const RECT* posRect);
  void DeactivateUI();
  void DeactivateInPlace();
  void ShowControlWindow(bool visible);
  void PlaceWindow(const RECT& posRect);
  // A size in screen pixels as a container measures extents.
  static SIZEL HimetricExtent(int width, int height);

  // The container's ambient properties, asked again of its site, and given to the control.
  void ReadAmbient();
  void ApplyAmbient();

  // IViewObject::Draw at the window's own size, and stretched to another.
  void PaintInto(HDC dc, const RECTL& bounds, int width, int height);
  void DrawStretched(HDC dc, const RECTL& bounds);

  void SaveState(TPropertyStore& store) const;
  void LoadState(const TPropertyStore& store);
  void WriteStream(IStream* stream) const;
  void ReadStream(IStream* stream);

  TActiveXControlFactory& FFactory;
  TErrorTrap FTrap;
  std::unique_ptr<TWinControl> FControl;
  TWin32WindowPeer* FPeer = nullptr;  // owned by FControl
  TComRef<IOleClientSite> FClientSite;
  TComRef<IOleInPlaceSite> FInPlaceSite;
  TComRef<IOleInPlaceFrame> FInPlaceFrame;
  TComRef<IOleInPlaceUIWindow> FInPlaceUIWindow;
  TComRef<IOleAdviseHolder> FOleAdviseHolder;
  TComRef<IAdviseSink> FViewAdviseSink;
  DWORD FViewAdviseFlags = 0;
  // One for each of the factory's event interfaces, in its order; never resized.
  std::vector<std::unique_ptr<TEventConnectionPoint>> FEventPoints;
  TControlModalHost FModalHost;
  TAmbientProperties FAmbient;
  SIZEL FExtent;
  bool FInPlaceActive = false;
  bool FUIActive = false;
  bool FDirty = false;
};

// The control object: the class's dual interface, answered from the type library, over the
// standard control interfaces. TInterface is the class's default interface.
template <typename TInterface>
class TActiveXControl : public TAutoObject<TInterface>, public TActiveXControlBase {
 public:
  explicit TActiveXControl(TActiveXControlFactory& factory)
      : TAutoObject<TInterface>(factory), TActiveXControlBase(factory) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (QueryControlInterface(riid, object)) {
      AddRef();
      return S_OK;
    }
    return TAutoObject<TInterface>::QueryInterface(riid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return TAutoObject<TInterface>::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TAutoObject<TInterface>::Release(); }

 protected:
  // The members of the class's own interface report failures as members of that interface.
  using TAutoObject<TInterface>::Trap;
};

}  // namespace skx
