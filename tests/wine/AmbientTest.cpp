// The registered control in a form that answers ambient properties: its colour and font follow
// the form where the control follows its parent's, a change told through IOleControl reaches it,
// and on a form being designed no menu or dialog of the control's opens.
#include <windows.h>
#include <ocidl.h>
#include <ole2.h>
#include <oleacc.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <atomic>

#include "DialogScript.h"
#include "Framework/Core/FormatSettings.h"
#include "Framework/Win32/OsLocale.h"
#include "GridHost.h"
#include "SkedraXControl_TLB/SkedraXControl_TLB.h"
#include "TestContainer.h"

namespace skx::test {
namespace {

VARIANT Int(LONG value) {
  VARIANT result;
  ::VariantInit(&result);
  result.vt = VT_I4;
  result.lVal = value;
  return result;
}

VARIANT Text(const wchar_t* value) {
  VARIANT result;
  ::VariantInit(&result);
  result.vt = VT_BSTR;
  result.bstrVal = ::SysAllocString(value);
  return result;
}

// The name that assistive technology reads for the control's window, or for one of its parts.
std::wstring AccessibleName(HWND window, LONG child = CHILDID_SELF) {
  IAccessible* accessible = nullptr;
  if (FAILED(::AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible)))) {
    return L"<none>";
  }
  VARIANT self;
  ::VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = child;
  BSTR name = nullptr;
  std::wstring result = accessible->get_accName(self, &name) == S_OK && name != nullptr ? name : L"<none>";
  ::SysFreeString(name);
  accessible->Release();
  return result;
}

VARIANT Bool(bool value) {
  VARIANT result;
  ::VariantInit(&result);
  result.vt = VT_BOOL;
  result.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return result;
}

// A standard font object of that face and size, as a form's ambient font.
VARIANT Font(const wchar_t* face, int points) {
  FONTDESC desc{sizeof(FONTDESC), const_cast<LPOLESTR>(face), {{static_cast<DWORD>(points * 10000), 0}}, FW_NORMAL, ANSI_CHARSET,
                FALSE, FALSE, FALSE};
  VARIANT result;
  ::VariantInit(&result);
  EXPECT_EQ(::OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(&result.pdispVal)), S_OK);
  result.vt = VT_DISPATCH;
  return result;
}

std::wstring FontName(ISkedraX* control) {
  IFontDisp* font = nullptr;
  EXPECT_EQ(control->get_Font(&font), S_OK);
  IFont* details = Query<IFont>(font, IID_IFont);
  BSTR name = nullptr;
  details->get_Name(&name);
  std::wstring result = name != nullptr ? name : L"";
  ::SysFreeString(name);
  details->Release();
  font->Release();
  return result;
}

class AmbientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FSite.Ambient = &FAmbient;
    FAmbient.Values[DISPID_AMBIENT_BACKCOLOR] = Int(0x00336699);
    FAmbient.Values[DISPID_AMBIENT_FORECOLOR] = Int(0x00102030);
    FAmbient.Values[DISPID_AMBIENT_FONT] = Font(L"Tahoma", 10);
    FAmbient.Values[DISPID_AMBIENT_USERMODE] = Bool(true);
    ASSERT_EQ(::CoCreateInstance(CLSID_SkedraX, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                 reinterpret_cast<void**>(&FObject)),
              S_OK);
  }
  void TearDown() override {
    if (FControl != nullptr) FControl->Release();
    CloseAndRelease(FObject);
    PumpMessages();
  }

  // New, or with the saved state of a new control (which brings the grid's menu).
  void Activate(bool loaded = false) {
    QACONTROL result{};
    ASSERT_EQ(QuickActivate(FObject, FSite, &FSink, result), S_OK);
    IPersistStreamInit* persist = Query<IPersistStreamInit>(FObject, IID_IPersistStreamInit);
    if (loaded) {
      IStream* state = SavedState();
      EXPECT_EQ(persist->Load(state), S_OK);
      state->Release();
    } else {
      EXPECT_EQ(persist->InitNew(), S_OK);
    }
    persist->Release();
    FWindow = ActivateInPlace(FObject, FSite, RECT{10, 10, 410, 310});
    ASSERT_NE(FWindow, nullptr);
    FControl = Query<ISkedraX>(FObject, IID_ISkedraX);
    PumpMessages();
  }

  static IStream* SavedState() {
    IPersistStreamInit* other = nullptr;
    EXPECT_EQ(::CoCreateInstance(CLSID_SkedraX, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistStreamInit,
                                 reinterpret_cast<void**>(&other)),
              S_OK);
    IStream* stream = nullptr;
    ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    EXPECT_EQ(other->Save(stream, TRUE), S_OK);
    other->Release();
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    return stream;
  }

  // A right click on the grid, with the menu (if one comes up) read and cancelled.
  std::vector<std::wstring> RightClickMenu() {
    TMenuAnswer cancel(-1);
    LPARAM at = MAKELPARAM(100, 100);
    ::PostMessageW(FWindow, WM_RBUTTONDOWN, MK_RBUTTON, at);
    ::PostMessageW(FWindow, WM_RBUTTONUP, 0, at);
    for (int i = 0; i < 30 && !cancel.Answered(); ++i) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      PumpMessages();
    }
    return cancel.Items();
  }

  // The colour of the line below the second row of cells, as the control draws itself for the
  // container.
  COLORREF LineColor() {
    IViewObject2* view = Query<IViewObject2>(FObject, IID_IViewObject2);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 400, 300);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    RECTL bounds{0, 0, 400, 300};
    EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0), S_OK);
    COLORREF color = ::GetPixel(dc, 300, 3 * 17 - 1);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    view->Release();
    return color;
  }

  void Change(DISPID id, VARIANT value) {
    ::VariantClear(&FAmbient.Values[id]);
    FAmbient.Values[id] = value;
    IOleControl* control = Query<IOleControl>(FObject, IID_IOleControl);
    EXPECT_EQ(control->OnAmbientPropertyChange(id), S_OK);
    control->Release();
  }

  TAmbientDispatch FAmbient;
  TTestSite FSite{400, 300};
  TEventSink FSink;
  IOleObject* FObject = nullptr;
  ISkedraX* FControl = nullptr;
  HWND FWindow = nullptr;
};

TEST_F(AmbientTest, TheFontFollowsTheFormUntilTheControlHasItsOwnAndTheColourWhereItFollowsItsParent) {
  Activate();
  EXPECT_EQ(FControl->put_ActiveDate(PastDay), S_OK);
  EXPECT_GT(FAmbient.Asked, 0);
  EXPECT_EQ(FontName(FControl), L"Tahoma");
  OLE_COLOR color = 0;
  FControl->get_Color(&color);
  EXPECT_EQ(color, 0x00C0C0C0u);  // the grid's own colour
  EXPECT_EQ(LineColor(), RGB(128, 128, 128));
  EXPECT_EQ(FControl->put_ParentColor(VARIANT_TRUE), S_OK);
  FControl->get_Color(&color);
  EXPECT_EQ(color, 0x00336699u);

  Change(DISPID_AMBIENT_BACKCOLOR, Int(0x00FFFFFF));
  Change(DISPID_AMBIENT_FONT, Font(L"Small Fonts", 9));
  FControl->get_Color(&color);
  EXPECT_EQ(color, 0x00FFFFFFu);
  EXPECT_EQ(FontName(FControl), L"Small Fonts");
  // The grid paints what it follows: its lines are grey on its own silver, silver on other colours.
  EXPECT_EQ(LineColor(), RGB(192, 192, 192));

  EXPECT_EQ(FControl->put_Color(0x0000FF00), S_OK);
  VARIANT arial = Font(L"MS Sans Serif", 8);
  EXPECT_EQ(FControl->put_Font(reinterpret_cast<IFontDisp*>(arial.pdispVal)), S_OK);
  ::VariantClear(&arial);
  Change(DISPID_UNKNOWN, Int(0));
  FControl->get_Color(&color);
  EXPECT_EQ(color, 0x0000FF00u);
  EXPECT_EQ(FontName(FControl), L"MS Sans Serif");
}

TEST_F(AmbientTest, TheNameTheFormKnowsTheControlByIsWhatScreenReadersRead) {
  Activate();
  EXPECT_EQ(AccessibleName(FWindow), L"Schedule");
  Change(DISPID_AMBIENT_DISPLAYNAME, Text(L"Rota"));
  EXPECT_EQ(AccessibleName(FWindow), L"Rota");
}

TEST_F(AmbientTest, OnAFormBeingDesignedNoMenuOrTaskDialogOpens) {
  ::VariantClear(&FAmbient.Values[DISPID_AMBIENT_USERMODE]);
  FAmbient.Values[DISPID_AMBIENT_USERMODE] = Bool(false);
  Activate(true);
  EXPECT_TRUE(RightClickMenu().empty());
  // A dialog that opened all the same is seen and closed, so that the test ends.
  const DWORD thread = ::GetCurrentThreadId();
  std::atomic<bool> returned{false};
  std::atomic<bool> shown{false};
  HRESULT result = RunScripted(
      [&] {
        WaitUntil([&] {
          HWND form = ::FindWindowW(nullptr, L"Task");
          if (form != nullptr && ::GetWindowThreadProcessId(form, nullptr) == thread) {
            shown = true;
            ::PostMessageW(form, WM_COMMAND, IDCANCEL, 0);
          }
          return returned || shown;
        });
      },
      [&] {
        HRESULT hr = FControl->NewTask();
        returned = true;
        return hr;
      });
  EXPECT_EQ(result, S_OK);
  EXPECT_FALSE(shown);
  EXPECT_TRUE(FSink.Events.empty());

  // The form runs: the menu is there again.
  Change(DISPID_AMBIENT_USERMODE, Bool(true));
  EXPECT_EQ(RightClickMenu(), (std::vector<std::wstring>{L"New task..."}));
}

// A form in a locale other than the user's has the days written in its formats; the user's come
// back when the form answers the user's own locale.
TEST_F(AmbientTest, TheDaysAreWrittenInTheFormsLocale) {
  Activate();
  const LONG firstDay = 1;
  const std::wstring user = AccessibleName(FWindow, firstDay);
  const LCID german = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);
  const TFormatSettings formats = ReadLocaleFormatSettings(german);
  ASSERT_NE(formats.LongDateFormat, ReadUserFormatSettings().LongDateFormat);
  Change(DISPID_AMBIENT_LOCALEID, Int(static_cast<LONG>(german)));
  EXPECT_EQ(AccessibleName(FWindow, firstDay),
            FormatDateTime(formats.LongDateFormat, TSystemClock().Today(), formats));
  Change(DISPID_AMBIENT_LOCALEID, Int(static_cast<LONG>(::GetUserDefaultLCID())));
  EXPECT_EQ(AccessibleName(FWindow, firstDay), user);
}

}  // namespace
}  // namespace skx::test
