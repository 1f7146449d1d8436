#include "Framework/Com/AmbientProperties.h"

#include <oleauto.h>
#include <olectl.h>

#include "Framework/Com/ComUtil.h"
#include "Framework/Com/FontAdapter.h"
#include "Framework/Win32/OsLocale.h"
#include "Framework/Win32/WindowPeer.h"

namespace skx {

namespace {

// Whether the site answers the ambient; value holds the answer, and is empty otherwise.
bool AskAmbient(IDispatch* ambient, DISPID id, VARIANT& value) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  ::VariantInit(&value);
  if (SUCCEEDED(ambient->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value, nullptr,
                                nullptr))) {
    return true;
  }
  ::VariantClear(&value);
  return false;
}

std::optional<TColor> AmbientColor(IDispatch* ambient, DISPID id) {
  VARIANT value;
  if (!AskAmbient(ambient, id, value)) return std::nullopt;
  std::optional<TColor> color;
  if (SUCCEEDED(::VariantChangeType(&value, &value, 0, VT_UI4))) color = static_cast<TColor>(value.ulVal);
  ::VariantClear(&value);
  return color;
}

// The container shows its font on its own window, or on the screen when it has none to tell.
int ContainerPixelsPerInch(IOleClientSite* site) {
  TComRef<IOleWindow> window;
  HWND handle = nullptr;
  if (SUCCEEDED(site->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(window.Receive()))) &&
      FAILED(window->GetWindow(&handle)))
    handle = nullptr;
  return WindowPixelsPerInch(handle);
}

// The formats of a locale other than the user's that the system knows; the user's own locale,
// by number or as the default, leaves the user's formats in force.
std::optional<TFormatSettings> AmbientFormats(IDispatch* ambient) {
  VARIANT value;
  if (!AskAmbient(ambient, DISPID_AMBIENT_LOCALEID, value)) return std::nullopt;
  std::optional<TFormatSettings> formats;
  if (SUCCEEDED(::VariantChangeType(&value, &value, 0, VT_UI4))) {
    const LCID locale = ::ConvertDefaultLocale(value.ulVal);
    if (locale != ::GetUserDefaultLCID() && ::IsValidLocale(locale, LCID_SUPPORTED))
      formats = ReadLocaleFormatSettings(locale);
  }
  ::VariantClear(&value);
  return formats;
}

}  // namespace

TAmbientProperties ReadAmbientProperties(IOleClientSite* site, const TFont& current) {
  TAmbientProperties result;
  TComRef<IDispatch> ambient;
  if (site == nullptr ||
      FAILED(site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(ambient.Receive())))) {
    return result;
  }
  result.BackColor = AmbientColor(ambient.Get(), DISPID_AMBIENT_BACKCOLOR);
  result.ForeColor = AmbientColor(ambient.Get(), DISPID_AMBIENT_FORECOLOR);
  VARIANT value;
  if (AskAmbient(ambient.Get(), DISPID_AMBIENT_FONT, value)) {
    TComRef<IFontDisp> font;
    if ((value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN) && value.punkVal != nullptr &&
        SUCCEEDED(value.punkVal->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(font.Receive())))) {
      result.Font = TFontAdapter::SetOleFont(current, font.Get());
      result.PixelsPerInch = ContainerPixelsPerInch(site);
    }
    ::VariantClear(&value);
  }
  if (AskAmbient(ambient.Get(), DISPID_AMBIENT_DISPLAYNAME, value)) {
    if (value.vt == VT_BSTR) result.DisplayName = BstrToString(value.bstrVal);
    ::VariantClear(&value);
  }
  result.Formats = AmbientFormats(ambient.Get());
  if (AskAmbient(ambient.Get(), DISPID_AMBIENT_USERMODE, value)) {
    if (SUCCEEDED(::VariantChangeType(&value, &value, 0, VT_BOOL))) result.UserMode = value.boolVal != VARIANT_FALSE;
    ::VariantClear(&value);
  }
  return result;
}

bool IsReadAmbient(DISPID id) {
  switch (id) {
    case DISPID_UNKNOWN:
    case DISPID_AMBIENT_BACKCOLOR:
    case DISPID_AMBIENT_FORECOLOR:
    case DISPID_AMBIENT_FONT:
    case DISPID_AMBIENT_DISPLAYNAME:
    case DISPID_AMBIENT_USERMODE:
    case DISPID_AMBIENT_LOCALEID:
      return true;
    default:
      return false;
  }
}

}  // namespace skx
