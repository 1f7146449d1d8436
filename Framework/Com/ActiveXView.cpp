// ActiveX control base: extents, drawing into a container's DC and quick activation.
#include "Framework/Com/ActiveXControl.h"

#include "Framework/Win32/GdiCanvas.h"
#include "Framework/Win32/WindowPeer.h"

namespace skx {

namespace {

constexpr int HimetricPerInch = 2540;

int ScreenPixelsPerInch(bool horizontal) {
  HDC screen = ::GetDC(nullptr);
  int result = ::GetDeviceCaps(screen, horizontal ? LOGPIXELSX : LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return result > 0 ? result : 96;
}

LONG PixelsToHimetric(int pixels, bool horizontal) {
  return ::MulDiv(pixels, HimetricPerInch, ScreenPixelsPerInch(horizontal));
}

}  // namespace

SIZEL TActiveXControlBase::HimetricExtent(int width, int height) {
  return {PixelsToHimetric(width, true), PixelsToHimetric(height, false)};
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::SetExtent(DWORD aspect, SIZEL* size) {
  if (size == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (size->cx <= 0 || size->cy <= 0) return E_INVALIDARG;
  // The window keeps the size the container gives it with SetObjectRects: hosts compute
  // extents in different ways, the rectangle is what they show.
  FExtent = *size;
  FDirty = true;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetExtent(DWORD aspect, SIZEL* size) {
  if (size == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *size = FExtent;
  return S_OK;
}

void TActiveXControlBase::PlaceWindow(const RECT& posRect) {
  int width = posRect.right - posRect.left;
  int height = posRect.bottom - posRect.top;
  FControl->SetBounds(posRect.left, posRect.top, width, height);
  if (width > 0 && height > 0) FExtent = HimetricExtent(width, height);
}

// IViewObject2: the same painting as the window's, windowless children included, into the
// container's DC.

HRESULT STDMETHODCALLTYPE TActiveXControlBase::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc,
                                                    LPCRECTL bounds, LPCRECTL,
                                                    BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (dc == nullptr || bounds == nullptr) return E_INVALIDARG;
  return Trap([&] {
    const int width = bounds->right - bounds->left;
    const int height = bounds->bottom - bounds->top;
    if (width <= 0 || height <= 0) return;
    // Without a window the control takes the size it is drawn at. A window keeps its own: drawn
    // at that size, its client area is painted as the window paints it; a picture of another
    // size (a print, a thumbnail) is the window's picture stretched.
    if (!FControl->HandleAllocated()) {
      FControl->SetBounds(0, 0, width, height);
      PaintInto(dc, *bounds, width, height);
    } else if (FControl->Width() == width && FControl->Height() == height) {
      PaintInto(dc, *bounds, FControl->ClientWidth(), FControl->ClientHeight());
    } else if (FControl->Width() > 0 && FControl->Height() > 0) {
      DrawStretched(dc, *bounds);
    }
  });
}

// The area at the bounds' top-left corner, as the window paints its client area.
void TActiveXControlBase::PaintInto(HDC dc, const RECTL& bounds, int width, int height) {
  int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, bounds.left, bounds.top, bounds.left + width, bounds.top + height);
  ::OffsetWindowOrgEx(dc, -bounds.left, -bounds.top, nullptr);
  {
    TGdiCanvas canvas(dc);
    FControl->PaintWindow(canvas, TRect{0, 0, width, height});
  }
  ::RestoreDC(dc, saved);
}

// The window's picture, its client area painted and the rest (the scroll bars) in the button
// face colour, stretched to the bounds: whole pixels are repeated when the picture grows, and
// averaged when it shrinks.
void TActiveXControlBase::DrawStretched(HDC dc, const RECTL& bounds) {
  const int width = FControl->Width();
  const int height = FControl->Height();
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = bitmap != nullptr ? ::SelectObject(memory, bitmap) : nullptr;
  if (memory != nullptr && bitmap != nullptr) {
    const RECT whole{0, 0, width, height};
    ::FillRect(memory, &whole, ::GetSysColorBrush(COLOR_BTNFACE));
    PaintInto(memory, RECTL{0, 0, width, height}, FControl->ClientWidth(), FControl->ClientHeight());
    const int targetWidth = bounds.right - bounds.left;
    const int targetHeight = bounds.bottom - bounds.top;
    const bool shrinks = targetWidth < width || targetHeight < height;
    const int oldMode = ::SetStretchBltMode(dc, shrinks ? HALFTONE : COLORONCOLOR);
    if (shrinks) ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, bounds.left, bounds.top, targetWidth, targetHeight, memory, 0, 0, width, height, SRCCOPY);
    ::SetStretchBltMode(dc, oldMode);
  }
  if (old != nullptr) ::SelectObject(memory, old);
  if (bitmap != nullptr) ::DeleteObject(bitmap);
  if (memory != nullptr) ::DeleteDC(memory);
  if (bitmap == nullptr) throw EOutOfResources(L"Out of system resources");
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                                           LOGPALETTE** colors) {
  if (colors == nullptr) return E_POINTER;
  *colors = nullptr;
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  if ((aspects & DVASPECT_CONTENT) == 0) return DV_E_DVASPECT;
  FViewAdviseSink.Assign(sink);
  FViewAdviseFlags = flags;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects != nullptr) *aspects = DVASPECT_CONTENT;
  if (flags != nullptr) *flags = FViewAdviseFlags;
  if (sink != nullptr) {
    *sink = FViewAdviseSink.Get();
    if (*sink != nullptr) (*sink)->AddRef();
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return GetExtent(aspect, size);
}

// IQuickActivate: client site, view sink and event sink in one call.

HRESULT STDMETHODCALLTYPE TActiveXControlBase::QuickActivate(QACONTAINER* container, QACONTROL* control) {
  if (container == nullptr || control == nullptr) return E_POINTER;
  if (container->cbSize < offsetof(QACONTAINER, dwAmbientFlags) || control->cbSize < sizeof(QACONTROL)) {
    return E_INVALIDARG;
  }
  SetClientSite(container->pClientSite);
  if (container->pAdviseSink != nullptr) SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
  control->dwMiscStatus = FFactory.MiscStatus();
  control->dwViewStatus = 0;
  control->dwEventCookie = 0;
  control->dwPropNotifyCookie = 0;
  control->dwPointerActivationPolicy = 0;
  if (container->pUnkEventSink != nullptr) {
    HRESULT result = FEventPoints[0]->Advise(container->pUnkEventSink, &control->dwEventCookie);
    if (FAILED(result)) return result;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::SetContentExtent(LPSIZEL size) {
  return SetExtent(DVASPECT_CONTENT, size);
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetContentExtent(LPSIZEL size) {
  return GetExtent(DVASPECT_CONTENT, size);
}

}  // namespace skx
