// UTF-8 conversions and the small message formatter.
#include "Strings.h"

namespace skx {

std::string ToUtf8(const String& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned long c = static_cast<unsigned long>(text[i]);
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
      unsigned long low = static_cast<unsigned long>(text[i + 1]);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// A malformed sequence becomes U+FFFD without swallowing the bytes that follow it; encoded
// surrogates pass through, so that an unpaired one written by ToUtf8 reads back unchanged.
String FromUtf8(const std::string& text) {
  String out;
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char b = static_cast<unsigned char>(text[i++]);
    unsigned long c = b;
    int extra = 0;
    if (b >= 0xC2 && b < 0xE0) { c = b & 0x1F; extra = 1; }
    else if (b >= 0xE0 && b < 0xF0) { c = b & 0x0F; extra = 2; }
    else if (b >= 0xF0 && b < 0xF5) { c = b & 0x07; extra = 3; }
    else if (b >= 0x80) { c = 0xFFFD; }
    int k = 0;
    for (; k < extra && i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
         ++k, ++i) {
      c = (c << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    }
    if (k < extra || c > 0x10FFFF) c = 0xFFFD;
    if (sizeof(wchar_t) == 2 && c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (c >> 10));
      out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<wchar_t>(c);
    }
  }
  return out;
}

namespace {

template <typename Emit>
String Substitute(const String& pattern, Emit emit) {
  String out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == L'%' && i + 1 < pattern.size()) {
      wchar_t kind = pattern[i + 1];
      if (kind == L'%') {
        out += L'%';
        ++i;
        continue;
      }
      if (kind == L's' || kind == L'd') {
        out += emit(kind);
        ++i;
        continue;
      }
    }
    out += pattern[i];
  }
  return out;
}

}  // namespace

String FormatText(const String& pattern, const String& arg) {
  return Substitute(pattern, [&](wchar_t) { return arg; });
}

String FormatText(const String& pattern, int arg) {
  return Substitute(pattern, [&](wchar_t) { return std::to_wstring(arg); });
}

}  // namespace skx
