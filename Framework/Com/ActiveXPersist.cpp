// ActiveX control base: the saved state in a stream, a storage or a property bag.
#include "Framework/Com/ActiveXControl.h"

#include <oleauto.h>

namespace skx {

namespace {

const wchar_t* const ContentsStream = L"Contents";
const wchar_t* const VersionProperty = L"Version";
const wchar_t* const ExtentXProperty = L"ExtentX";
const wchar_t* const ExtentYProperty = L"ExtentY";

// A saved state that cannot be read fails the call with E_FAIL and its reason.
template <typename TBody>
void Reading(TBody&& body) {
  try {
    body();
  } catch (const EReadError& e) {
    throw EOleError(e.Message(), E_FAIL);
  }
}

void ReadExactly(IStream* stream, void* buffer, ULONG size) {
  ULONG done = 0;
  HRESULT result = stream->Read(buffer, size, &done);
  if (FAILED(result)) OleCheck(result);
  if (done != size) throw EReadError(L"Saved state is truncated");
}

}  // namespace

void TActiveXControlBase::SaveState(TPropertyStore& store) const {
  store.SetInt(ExtentXProperty, FExtent.cx);
  store.SetInt(ExtentYProperty, FExtent.cy);
  FFactory.ControlClass().WriteState(*FControl, store);
}

// The window control checks its values before it takes any; Loaded follows once per load.
void TActiveXControlBase::LoadState(const TPropertyStore& store) {
  SIZEL extent = FExtent;
  std::int32_t value = 0;
  if (store.GetInt(ExtentXProperty, value)) extent.cx = value;
  if (store.GetInt(ExtentYProperty, value)) extent.cy = value;
  if (extent.cx <= 0 || extent.cy <= 0) throw EReadError(L"Invalid property value for the extent");
  FFactory.ControlClass().ReadState(*FControl, store);
  FExtent = extent;
  FControl->Loaded();
  ApplyAmbient();
  FDirty = false;
}

void TActiveXControlBase::WriteStream(IStream* stream) const {
  TPropertyStore store;
  SaveState(store);
  std::vector<std::uint8_t> bytes = store.Encode();
  ULONG written = 0;
  OleCheck(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written));
  if (written != bytes.size()) OleCheck(STG_E_WRITEFAULT);
}

void TActiveXControlBase::ReadStream(IStream* stream) {
  Reading([&] {
    std::uint8_t header[TPropertyStore::HeaderSize];
    ReadExactly(stream, header, sizeof(header));
    std::vector<std::uint8_t> payload(TPropertyStore::DecodeHeader(header));
    if (!payload.empty()) ReadExactly(stream, payload.data(), static_cast<ULONG>(payload.size()));
    LoadState(TPropertyStore::DecodePayload(payload.data(), payload.size()));
  });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetClassID(CLSID* classId) {
  if (classId == nullptr) return E_POINTER;
  *classId = FFactory.ClassId();
  return S_OK;
}

// A new control keeps the window control's defaults and is never loaded.
HRESULT STDMETHODCALLTYPE TActiveXControlBase::InitNew() { return S_OK; }

HRESULT STDMETHODCALLTYPE TActiveXControlBase::Load(LPSTREAM stream) {
  if (stream == nullptr) return E_POINTER;
  return Trap([&] { ReadStream(stream); });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::Save(LPSTREAM stream, BOOL clearDirty) {
  if (stream == nullptr) return E_POINTER;
  return Trap([&] {
    WriteStream(stream);
    if (clearDirty) FDirty = false;
  });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetSizeMax(ULARGE_INTEGER* size) {
  if (size == nullptr) return E_POINTER;
  return Trap([&] {
    TPropertyStore store;
    SaveState(store);
    size->QuadPart = store.Encode().size();
  });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::InitNew(IStorage* storage) {
  return storage == nullptr ? E_POINTER : S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::Load(IStorage* storage) {
  if (storage == nullptr) return E_POINTER;
  return Trap([&] {
    TComRef<IStream> stream;
    HRESULT result = storage->OpenStream(ContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                         stream.Receive());
    if (FAILED(result)) throw EOleError(L"Saved state is missing", result);
    ReadStream(stream.Get());
  });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::Save(IStorage* storage, BOOL) {
  if (storage == nullptr) return E_POINTER;
  return Trap([&] {
    TComRef<IStream> stream;
    OleCheck(storage->CreateStream(ContentsStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                   stream.Receive()));
    WriteStream(stream.Get());
    FDirty = false;
  });
}

// In a property bag each value is one named property, with the format version beside them.
HRESULT STDMETHODCALLTYPE TActiveXControlBase::Load(IPropertyBag* bag, IErrorLog* log) {
  if (bag == nullptr) return E_POINTER;
  return Trap([&] {
    Reading([&] {
      VARIANT value{};
      value.vt = VT_I4;
      if (FAILED(bag->Read(VersionProperty, &value, log)) || value.vt != VT_I4 ||
          value.lVal != static_cast<LONG>(TPropertyStore::FormatVersion)) {
        ::VariantClear(&value);
        throw EReadError(L"Invalid saved state format");
      }
      TPropertyStore known;
      SaveState(known);
      TPropertyStore store;
      for (const TPropertyStore::TEntry& entry : known.Entries()) {
        bool isText = std::holds_alternative<String>(entry.second);
        value = VARIANT{};
        value.vt = isText ? VT_BSTR : VT_I4;
        if (FAILED(bag->Read(entry.first.c_str(), &value, log))) continue;
        if (value.vt != (isText ? VT_BSTR : VT_I4)) {
          ::VariantClear(&value);
          throw EReadError(FormatText(L"Invalid property value for %s", entry.first));
        }
        if (isText) {
          store.SetText(entry.first, BstrToString(value.bstrVal));
        } else {
          store.SetInt(entry.first, value.lVal);
        }
        ::VariantClear(&value);
      }
      LoadState(store);
    });
  });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
  if (bag == nullptr) return E_POINTER;
  return Trap([&] {
    TPropertyStore store;
    SaveState(store);
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = static_cast<LONG>(TPropertyStore::FormatVersion);
    OleCheck(bag->Write(VersionProperty, &value));
    for (const TPropertyStore::TEntry& entry : store.Entries()) {
      ::VariantInit(&value);
      if (const auto* number = std::get_if<std::int32_t>(&entry.second)) {
        value.vt = VT_I4;
        value.lVal = *number;
      } else {
        value.vt = VT_BSTR;
        value.bstrVal = ::SysAllocString(std::get<String>(entry.second).c_str());
        if (value.bstrVal == nullptr) OleCheck(E_OUTOFMEMORY);
      }
      HRESULT result = bag->Write(entry.first.c_str(), &value);
      ::VariantClear(&value);
      OleCheck(result);
    }
    if (clearDirty) FDirty = false;
  });
}

}  // namespace skx
