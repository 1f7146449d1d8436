// The IAccessible of a control's client area: children as simple elements numbered by the
// control's accessible model, places in screen coordinates, the default action posted.
#include "Framework/Win32/WindowAccessible.h"

#include <ole2.h>
#include <oleacc.h>

#include "Framework/Com/ComObject.h"
#include "Framework/Core/WeakRef.h"
#include "Framework/Win32/Win32Types.h"
#include "Framework/Win32/WindowPeer.h"

namespace skx {

namespace {

volatile LONG LiveObjects = 0;

BSTR NewBstr(const String& text) {
  return text.empty() ? nullptr : ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

void SetChild(VARIANT* result, int element) {
  result->vt = VT_I4;
  result->lVal = element;
}

class TWindowAccessible : public TComObject<IAccessible>, public IOleWindow {
 public:
  TWindowAccessible(TWinControl& control, HWND window) : TComObject(1), FControl(&control), FWindow(window) {
    ::InterlockedIncrement(&LiveObjects);
  }
  ~TWindowAccessible() override { ::InterlockedDecrement(&LiveObjects); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object != nullptr && ::IsEqualIID(riid, IID_IOleWindow)) {
      *object = static_cast<IOleWindow*>(this);
      AddRef();
      return S_OK;
    }
    return TComObject::QueryInterface(riid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return TComObject::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TComObject::Release(); }

  // IDispatch: clients use the vtable.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IOleWindow, through which the platform finds the window of an accessible object.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (window == nullptr) return E_POINTER;
    *window = Model() != nullptr ? FWindow : nullptr;
    return *window != nullptr ? S_OK : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (parent == nullptr) return E_POINTER;
    *parent = nullptr;
    if (Model() == nullptr) return CO_E_OBJNOTCONNECTED;
    return ::AccessibleObjectFromWindow(FWindow, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                        reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return Guard([&](TAccessibleModel& model) {
      *count = model.ChildCount();
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    return OnChild(child, [&](TAccessibleModel&, int element) { return element == 0 ? E_INVALIDARG : S_FALSE; });
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Text(child, name, [](TAccessibleModel& model, int element) { return model.Name(element); });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return Text(child, description,
                [](TAccessibleModel& model, int element) { return model.Description(element); });
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Text(child, action,
                [](TAccessibleModel& model, int element) { return model.DefaultActionName(element); });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return Text(child, value, [](TAccessibleModel& model, int element) { return model.Value(element); });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return NoText(child, help); }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return NoText(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    if (topic != nullptr) *topic = 0;
    return NoText(child, file);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (role == nullptr) return E_POINTER;
    ::VariantInit(role);
    return OnChild(child, [&](TAccessibleModel& model, int element) {
      SetChild(role, model.Role(element));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (state == nullptr) return E_POINTER;
    ::VariantInit(state);
    return OnChild(child, [&](TAccessibleModel& model, int element) {
      SetChild(state, static_cast<int>(model.State(element).Bits()));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    return ElementId(focus, 0, [](TAccessibleModel& model) { return model.FocusedElement(); });
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return ElementId(selection, 1, [](TAccessibleModel& model) { return model.SelectedChild(); });
  }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT child) override {
    return OnChild(child, [](TAccessibleModel&, int) { return DISP_E_MEMBERNOTFOUND; });
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
    *left = *top = *width = *height = 0;
    return OnChild(child, [&](TAccessibleModel& model, int element) {
      TRect bounds = model.Bounds(element);
      if (bounds.IsEmpty()) return S_FALSE;
      POINT origin = ToPOINT(TPoint{bounds.Left, bounds.Top});
      ::ClientToScreen(FWindow, &origin);
      *left = origin.x;
      *top = origin.y;
      *width = bounds.Width();
      *height = bounds.Height();
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (end == nullptr) return E_POINTER;
    ::VariantInit(end);
    return OnChild(start, [&](TAccessibleModel& model, int element) {
      int count = model.ChildCount();
      int target = 0;
      if (element == 0 && direction == NAVDIR_FIRSTCHILD) target = 1;
      if (element == 0 && direction == NAVDIR_LASTCHILD) target = count;
      if (element > 0 && direction == NAVDIR_NEXT) target = element + 1;
      if (element > 0 && direction == NAVDIR_PREVIOUS) target = element - 1;
      if (target < 1 || target > count) return S_FALSE;
      SetChild(end, target);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* found) override {
    if (found == nullptr) return E_POINTER;
    ::VariantInit(found);
    return Guard([&](TAccessibleModel& model) {
      POINT point{x, y};
      ::ScreenToClient(FWindow, &point);
      RECT client{};
      ::GetClientRect(FWindow, &client);
      if (!::PtInRect(&client, point)) return S_FALSE;
      SetChild(found, model.ElementAt(ToTPoint(point)));
      return S_OK;
    });
  }
  // Answered at once: the action may open a modal dialog, which the caller must not wait for.
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return OnChild(child, [&](TAccessibleModel& model, int element) {
      std::function<void()> action = model.DefaultAction(element);
      if (!action) return DISP_E_MEMBERNOTFOUND;
      FControl.Get()->Peer()->PostCall(std::move(action));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 protected:
  bool Answers(REFIID riid) const override {
    return ::IsEqualIID(riid, IID_IDispatch) || ::IsEqualIID(riid, __uuidof(IAccessible));
  }

 private:
  // Null once the control, or the window this object was made for, is gone.
  TAccessibleModel* Model() const {
    TWinControl* control = FControl.Get();
    if (control == nullptr || control->IsDestroying()) return nullptr;
    auto* peer = dynamic_cast<TWin32WindowPeer*>(control->Peer());
    if (peer == nullptr || peer->Handle() != FWindow) return nullptr;
    return control->Accessible();
  }

  // Nothing the model throws reaches the caller, which may be another process.
  template <typename TBody>
  HRESULT Guard(TBody&& body) {
    try {
      TAccessibleModel* model = Model();
      return model != nullptr ? body(*model) : CO_E_OBJNOTCONNECTED;
    } catch (...) {
      return E_FAIL;
    }
  }

  template <typename TBody>
  HRESULT OnChild(const VARIANT& child, TBody&& body) {
    return Guard([&](TAccessibleModel& model) {
      if (child.vt != VT_I4 || child.lVal < 0 || child.lVal > model.ChildCount()) return E_INVALIDARG;
      return body(model, static_cast<int>(child.lVal));
    });
  }

  // The element as a child ID; one below lowest is answered as none.
  template <typename TRead>
  HRESULT ElementId(VARIANT* result, int lowest, TRead read) {
    if (result == nullptr) return E_POINTER;
    ::VariantInit(result);
    return Guard([&](TAccessibleModel& model) {
      int element = read(model);
      if (element < lowest) return S_FALSE;
      SetChild(result, element);
      return S_OK;
    });
  }

  // An empty text is answered as none.
  template <typename TRead>
  HRESULT Text(const VARIANT& child, BSTR* text, TRead read) {
    if (text == nullptr) return E_POINTER;
    *text = nullptr;
    return OnChild(child, [&](TAccessibleModel& model, int element) {
      *text = NewBstr(read(model, element));
      return *text != nullptr ? S_OK : S_FALSE;
    });
  }

  HRESULT NoText(const VARIANT& child, BSTR* text) {
    if (text == nullptr) return E_POINTER;
    *text = nullptr;
    return OnChild(child, [](TAccessibleModel&, int) { return DISP_E_MEMBERNOTFOUND; });
  }

  TWeakRef<TWinControl> FControl;
  HWND FWindow;
};

}  // namespace

LRESULT AccessibleClientResult(TWinControl& control, HWND window, WPARAM wParam) {
  auto* object = new TWindowAccessible(control, window);
  LRESULT result = ::LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object));
  object->Release();
  return result;
}

LONG AccessibleObjectCount() { return LiveObjects; }

}  // namespace skx
