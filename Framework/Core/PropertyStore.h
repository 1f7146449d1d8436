// A control's saved state: named integer and text values, and their versioned binary form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <variant>
#include <vector>

#include "Framework/Core/Exceptions.h"
#include "Framework/Core/Strings.h"

namespace skx {

// A saved state that cannot be read: truncated, foreign or of another version.
class EReadError : public Exception { using Exception::Exception; };

class TPropertyStore {
 public:
  using TValue = std::variant<std::int32_t, String>;
  using TEntry = std::pair<String, TValue>;

  // The first four bytes of the binary form, then the format version and the payload size.
  static constexpr std::uint32_t Signature = 0x53584B53;  // "SKXS"
  static constexpr std::uint32_t FormatVersion = 1;
  static constexpr std::size_t HeaderSize = 12;
  // Larger payloads are refused before anything is allocated for them.
  static constexpr std::uint32_t MaxPayloadSize = 64 * 1024;

  void SetInt(const String& name, std::int32_t value) { Set(name, value); }
  void SetText(const String& name, const String& value) { Set(name, value); }
  // False when the value is missing; a value of the other kind is a read error.
  bool GetInt(const String& name, std::int32_t& value) const;
  bool GetText(const String& name, String& value) const;
  const std::vector<TEntry>& Entries() const { return FEntries; }

  std::vector<std::uint8_t> Encode() const;
  // The payload size that a header announces; raises EReadError for a foreign header.
  static std::uint32_t DecodeHeader(const std::uint8_t* header);
  static TPropertyStore DecodePayload(const std::uint8_t* data, std::size_t size);
  static TPropertyStore Decode(const std::vector<std::uint8_t>& bytes);

 private:
  void Set(const String& name, TValue value);
  const TValue* Find(const String& name) const;
  std::vector<TEntry> FEntries;
};

}  // namespace skx
