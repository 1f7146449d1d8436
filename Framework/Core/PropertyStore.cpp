// Saved-state values and their binary form: little-endian, texts as UTF-16 code units.
#include "Framework/Core/PropertyStore.h"

namespace skx {

namespace {

enum TValueKind : std::uint8_t { vkInt = 0, vkText = 1 };

[[noreturn]] void RaiseFormatError() { throw EReadError(L"Invalid saved state format"); }
[[noreturn]] void RaiseTruncated() { throw EReadError(L"Saved state is truncated"); }

class TWriter {
 public:
  void U8(std::uint8_t v) { FBytes.push_back(v); }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) FBytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void Text(const String& text) {
    U32(static_cast<std::uint32_t>(text.size()));
    for (wchar_t c : text) {
      auto unit = static_cast<std::uint16_t>(c);
      FBytes.push_back(static_cast<std::uint8_t>(unit));
      FBytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
  }
  std::vector<std::uint8_t>& Bytes() { return FBytes; }

 private:
  std::vector<std::uint8_t> FBytes;
};

class TReader {
 public:
  TReader(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
  bool AtEnd() const { return FPos == FSize; }
  std::uint8_t U8() {
    Need(1);
    return FData[FPos++];
  }
  std::uint32_t U32() {
    Need(4);
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t{FData[FPos++]} << (8 * i);
    return v;
  }
  String Text() {
    std::uint32_t length = U32();
    if (length > (FSize - FPos) / 2) RaiseTruncated();
    String text;
    text.reserve(length);
    for (std::uint32_t i = 0; i < length; ++i) {
      std::uint16_t unit = static_cast<std::uint16_t>(FData[FPos] | (FData[FPos + 1] << 8));
      FPos += 2;
      text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
  }

 private:
  void Need(std::size_t count) const {
    if (FSize - FPos < count) RaiseTruncated();
  }
  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
};

}  // namespace

void TPropertyStore::Set(const String& name, TValue value) {
  for (TEntry& entry : FEntries) {
    if (entry.first == name) {
      entry.second = std::move(value);
      return;
    }
  }
  FEntries.emplace_back(name, std::move(value));
}

const TPropertyStore::TValue* TPropertyStore::Find(const String& name) const {
  for (const TEntry& entry : FEntries) {
    if (entry.first == name) return &entry.second;
  }
  return nullptr;
}

bool TPropertyStore::GetInt(const String& name, std::int32_t& value) const {
  const TValue* found = Find(name);
  if (found == nullptr) return false;
  if (!std::holds_alternative<std::int32_t>(*found)) RaiseFormatError();
  value = std::get<std::int32_t>(*found);
  return true;
}

bool TPropertyStore::GetText(const String& name, String& value) const {
  const TValue* found = Find(name);
  if (found == nullptr) return false;
  if (!std::holds_alternative<String>(*found)) RaiseFormatError();
  value = std::get<String>(*found);
  return true;
}

std::vector<std::uint8_t> TPropertyStore::Encode() const {
  TWriter payload;
  payload.U32(static_cast<std::uint32_t>(FEntries.size()));
  for (const TEntry& entry : FEntries) {
    payload.Text(entry.first);
    if (const auto* number = std::get_if<std::int32_t>(&entry.second)) {
      payload.U8(vkInt);
      payload.U32(static_cast<std::uint32_t>(*number));
    } else {
      payload.U8(vkText);
      payload.Text(std::get<String>(entry.second));
    }
  }
  TWriter whole;
  whole.U32(Signature);
  whole.U32(FormatVersion);
  whole.U32(static_cast<std::uint32_t>(payload.Bytes().size()));
  whole.Bytes().insert(whole.Bytes().end(), payload.Bytes().begin(), payload.Bytes().end());
  return std::move(whole.Bytes());
}

std::uint32_t TPropertyStore::DecodeHeader(const std::uint8_t* header) {
  TReader reader(header, HeaderSize);
  if (reader.U32() != Signature || reader.U32() != FormatVersion) RaiseFormatError();
  std::uint32_t size = reader.U32();
  if (size > MaxPayloadSize) RaiseFormatError();
  return size;
}

TPropertyStore TPropertyStore::DecodePayload(const std::uint8_t* data, std::size_t size) {
  TReader reader(data, size);
  TPropertyStore store;
  std::uint32_t count = reader.U32();
  for (std::uint32_t i = 0; i < count; ++i) {
    String name = reader.Text();
    switch (reader.U8()) {
      case vkInt:
        store.Set(name, static_cast<std::int32_t>(reader.U32()));
        break;
      case vkText:
        store.Set(name, reader.Text());
        break;
      default:
        RaiseFormatError();
    }
  }
  if (!reader.AtEnd()) RaiseFormatError();
  return store;
}

TPropertyStore TPropertyStore::Decode(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < HeaderSize) RaiseTruncated();
  std::uint32_t size = DecodeHeader(bytes.data());
  if (bytes.size() - HeaderSize < size) RaiseTruncated();
  if (bytes.size() - HeaderSize > size) RaiseFormatError();
  return DecodePayload(bytes.data() + HeaderSize, size);
}

}  // namespace skx
