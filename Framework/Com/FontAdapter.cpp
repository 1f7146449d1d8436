// Font adapter: sizes travel in points (the OLE font's currency units of 1/10000 point).
#include "Framework/Com/FontAdapter.h"

#include "Framework/Com/ComUtil.h"
#include "Framework/Core/Exceptions.h"

namespace skx {

namespace {

constexpr LONGLONG CyPerPoint = 10000;

}  // namespace

IFontDisp* TFontAdapter::GetOleFont(const TFont& font) {
  String name = font.Name;
  FONTDESC desc{};
  desc.cbSizeofstruct = sizeof(desc);
  desc.lpstrName = &name[0];
  desc.cySize.int64 = static_cast<LONGLONG>(font.Size()) * CyPerPoint;
  desc.sWeight = static_cast<SHORT>(font.Style.Contains(fsBold) ? FW_BOLD : FW_NORMAL);
  desc.sCharset = DEFAULT_CHARSET;
  desc.fItalic = font.Style.Contains(fsItalic);
  desc.fUnderline = font.Style.Contains(fsUnderline);
  desc.fStrikethrough = font.Style.Contains(fsStrikeOut);
  IFontDisp* result = nullptr;
  OleCheck(::OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(&result)));
  return result;
}

TFont TFontAdapter::SetOleFont(const TFont& font, IFontDisp* oleFont) {
  if (oleFont == nullptr) OleCheck(E_POINTER);
  TComRef<IFont> source;
  OleCheck(oleFont->QueryInterface(IID_IFont, reinterpret_cast<void**>(source.Receive())));
  BSTR name = nullptr;
  CY size{};
  BOOL bold = FALSE;
  BOOL italic = FALSE;
  BOOL underline = FALSE;
  BOOL strikeOut = FALSE;
  OleCheck(source->get_Name(&name));
  String faceName = BstrToString(name);
  ::SysFreeString(name);
  OleCheck(source->get_Size(&size));
  OleCheck(source->get_Bold(&bold));
  OleCheck(source->get_Italic(&italic));
  OleCheck(source->get_Underline(&underline));
  OleCheck(source->get_Strikethrough(&strikeOut));
  if (faceName.empty() || size.int64 <= 0 || size.int64 > 4096 * CyPerPoint) OleCheck(CTL_E_INVALIDPROPERTYVALUE);

  TFont result = font;
  result.Name = faceName;
  result.SetSize(static_cast<int>((size.int64 + CyPerPoint / 2) / CyPerPoint));
  result.Style = TFontStyles();
  if (bold) result.Style.Include(fsBold);
  if (italic) result.Style.Include(fsItalic);
  if (underline) result.Style.Include(fsUnderline);
  if (strikeOut) result.Style.Include(fsStrikeOut);
  return result;
}

}  // namespace skx
