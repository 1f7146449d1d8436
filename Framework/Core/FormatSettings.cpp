// The settings in force, and the date, time and integer texts formatted and parsed with them.
#include "Framework/Core/FormatSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cwctype>
#include <utility>
#include <vector>

#include "Framework/Core/Exceptions.h"

namespace skx {

namespace {

TFormatSettings& CurrentSettings() {
  static TFormatSettings settings;
  return settings;
}

const wchar_t* const ShortDayNames[7] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
const wchar_t* const LongDayNames[7] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                        L"Thursday", L"Friday", L"Saturday"};
const wchar_t* const ShortMonthNames[12] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                            L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
const wchar_t* const LongMonthNames[12] = {L"January",   L"February", L"March",    L"April",
                                           L"May",       L"June",     L"July",     L"August",
                                           L"September", L"October",  L"November", L"December"};

enum class TDesignator { None, AM, PM };

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

bool IsQuote(wchar_t c) { return c == L'\'' || c == L'"'; }

String Trimmed(const String& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::vector<String> SplitAt(const String& text, wchar_t separator) {
  std::vector<String> parts(1);
  for (wchar_t c : text) {
    if (c == separator) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

bool SameLetters(const wchar_t* a, const wchar_t* b, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (std::towupper(a[i]) != std::towupper(b[i])) return false;
  }
  return true;
}

bool EqualsNoCase(const String& a, const String& b) {
  return a.size() == b.size() && SameLetters(a.data(), b.data(), a.size());
}

// Copies quoted text from the opening quote on, a doubled quote standing for itself, and returns
// the position after the closing quote.
size_t CopyQuoted(const String& format, size_t pos, String& out) {
  const wchar_t quote = format[pos++];
  while (pos < format.size()) {
    if (format[pos] != quote) {
      out += format[pos++];
    } else if (pos + 1 < format.size() && format[pos + 1] == quote) {
      out += quote;
      pos += 2;
    } else {
      return pos + 1;
    }
  }
  return pos;
}

size_t RunLength(const String& format, size_t pos) {
  size_t end = pos + 1;
  while (end < format.size() && format[end] == format[pos]) ++end;
  return end - pos;
}

String Padded(int value, size_t width) {
  String digits = std::to_wstring(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), L'0');
  return digits;
}

int DigitValue(wchar_t c, int base) {
  int digit = base;
  if (c >= L'0' && c <= L'9') {
    digit = c - L'0';
  } else if (c >= L'A' && c <= L'F') {
    digit = c - L'A' + 10;
  } else if (c >= L'a' && c <= L'f') {
    digit = c - L'a' + 10;
  }
  return digit < base ? digit : -1;
}

bool ReadNumber(const String& field, size_t maxDigits, int& value) {
  if (field.empty() || field.size() > maxDigits) return false;
  value = 0;
  for (wchar_t c : field) {
    const int digit = DigitValue(c, 10);
    if (digit < 0) return false;
    value = value * 10 + digit;
  }
  return true;
}

bool ReadMonthName(const String& field, int& month) {
  for (int i = 0; i < 12; ++i) {
    if (EqualsNoCase(field, ShortMonthNames[i]) || EqualsNoCase(field, LongMonthNames[i])) {
      month = i + 1;
      return true;
    }
  }
  return false;
}

// Of the dates with the given year in the centuries around near's, the one nearest to near.
bool EncodeNearestCentury(int yearOfCentury, int month, int day, TDateTime near,
                          TDateTime& value) {
  int nearYear, unusedMonth, unusedDay;
  DecodeDate(near, nearYear, unusedMonth, unusedDay);
  const int century = nearYear - nearYear % 100;
  bool found = false;
  for (int base = century - 100; base <= century + 100; base += 100) {
    TDateTime candidate;
    if (!TryEncodeDate(base + yearOfCentury, month, day, candidate)) continue;
    if (!found || std::fabs(candidate - near) < std::fabs(value - near)) value = candidate;
    found = true;
  }
  return found;
}

// The letters d, M and y in the order in which the format first names them.
String FieldOrder(const String& format) {
  String order;
  String ignored;
  size_t pos = 0;
  while (pos < format.size()) {
    if (IsQuote(format[pos])) {
      pos = CopyQuoted(format, pos, ignored);
      continue;
    }
    const wchar_t letter = format[pos++];
    if ((letter == L'd' || letter == L'M' || letter == L'y') &&
        order.find(letter) == String::npos) {
      order += letter;
    }
  }
  return order;
}

// Seconds with an optional fraction after a point: ".5" is half a second, not 5 ms.
bool ReadSeconds(const String& field, int& sec, int& msec) {
  const std::vector<String> parts = SplitAt(field, L'.');
  if (parts.size() > 2 || !ReadNumber(parts[0], 2, sec)) return false;
  msec = 0;
  if (parts.size() == 1) return true;
  if (!ReadNumber(parts[1], 3, msec)) return false;
  for (size_t digits = parts[1].size(); digits < 3; ++digits) msec *= 10;
  return true;
}

// Removes a designator before or after the time, the locale's own or the English one.
TDesignator TakeDesignator(String& text, const TFormatSettings& settings) {
  const String englishAM = L"AM";
  const String englishPM = L"PM";
  const std::pair<const String*, TDesignator> candidates[] = {
      {&settings.TimeAMString, TDesignator::AM},
      {&settings.TimePMString, TDesignator::PM},
      {&englishAM, TDesignator::AM},
      {&englishPM, TDesignator::PM},
  };
  for (const auto& [candidate, kind] : candidates) {
    const String& name = *candidate;
    if (name.empty() || text.size() <= name.size()) continue;
    const size_t tail = text.size() - name.size();
    if (SameLetters(text.data() + tail, name.data(), name.size())) {
      text = Trimmed(text.substr(0, tail));
      return kind;
    }
    if (SameLetters(text.data(), name.data(), name.size())) {
      text = Trimmed(text.substr(name.size()));
      return kind;
    }
  }
  return TDesignator::None;
}

}  // namespace

const TFormatSettings& GetFormatSettings() { return CurrentSettings(); }

void SetFormatSettings(const TFormatSettings& Settings) { CurrentSettings() = Settings; }

String FormatDateTime(const String& Format, TDateTime Value, const TFormatSettings& Settings) {
  int year, month, day, hour, minute, second, msec;
  DecodeDate(Value, year, month, day);
  DecodeTime(Value, hour, minute, second, msec);
  const int weekDay = DayOfWeek(Value) - 1;
  String out;
  size_t pos = 0;
  while (pos < Format.size()) {
    const wchar_t letter = Format[pos];
    if (IsQuote(letter)) {
      pos = CopyQuoted(Format, pos, out);
      continue;
    }
    const size_t run = RunLength(Format, pos);
    const size_t width = std::min<size_t>(run, 2);
    pos += run;
    switch (letter) {
      case L'd':
        out += run >= 4   ? LongDayNames[weekDay]
               : run == 3 ? ShortDayNames[weekDay]
                          : Padded(day, run);
        break;
      case L'M':
        out += run >= 4   ? LongMonthNames[month - 1]
               : run == 3 ? ShortMonthNames[month - 1]
                          : Padded(month, run);
        break;
      case L'y':
        out += run >= 3 ? Padded(year, 4) : Padded(year % 100, run);
        break;
      case L'h':
        out += Padded(hour % 12 == 0 ? 12 : hour % 12, width);
        break;
      case L'H':
        out += Padded(hour, width);
        break;
      case L'm':
        out += Padded(minute, width);
        break;
      case L's':
        out += Padded(second, width);
        break;
      case L't': {
        const String& designator = hour < 12 ? Settings.TimeAMString : Settings.TimePMString;
        out += run == 1 ? designator.substr(0, 1) : designator;
        break;
      }
      default:
        out.append(run, letter);
    }
  }
  return out;
}

String DateToStr(TDateTime Value, const TFormatSettings& Settings) {
  return FormatDateTime(Settings.ShortDateFormat, Value, Settings);
}

String TimeToStr(TDateTime Value, const TFormatSettings& Settings) {
  return FormatDateTime(Settings.LongTimeFormat, Value, Settings);
}

bool TryStrToDateNear(const String& Text, TDateTime Near, TDateTime& Value,
                      const TFormatSettings& Settings) {
  const String order = FieldOrder(Settings.ShortDateFormat);
  const std::vector<String> fields = SplitAt(Trimmed(Text), Settings.DateSeparator);
  if (order.empty() || fields.size() != order.size()) return false;
  int year = 0;
  bool shortYear = false;
  int month = 1;
  int day = 1;
  for (size_t i = 0; i < order.size(); ++i) {
    const String field = Trimmed(fields[i]);
    const bool valid = order[i] == L'd' ? ReadNumber(field, 2, day)
                       : order[i] == L'M'
                           ? ReadNumber(field, 2, month) || ReadMonthName(field, month)
                           : ReadNumber(field, 4, year);
    if (!valid) return false;
    if (order[i] == L'y') shortYear = field.size() <= 2;
  }
  const bool yearFromNear = shortYear || order.find(L'y') == String::npos;
  if (yearFromNear && !IsDecodable(Near)) return false;
  if (shortYear) return EncodeNearestCentury(year, month, day, Near, Value);
  if (order.find(L'y') == String::npos) {
    int unusedMonth, unusedDay;
    DecodeDate(Near, year, unusedMonth, unusedDay);
  }
  return TryEncodeDate(year, month, day, Value);
}

bool TryStrToDate(const String& Text, TDateTime& Value, const TFormatSettings& Settings) {
  return TryStrToDateNear(Text, TSystemClock().Now(), Value, Settings);
}

bool TryStrToTime(const String& Text, TDateTime& Value, const TFormatSettings& Settings) {
  String body = Trimmed(Text);
  const TDesignator designator = TakeDesignator(body, Settings);
  const std::vector<String> fields = SplitAt(body, Settings.TimeSeparator);
  int hour, minute = 0, second = 0, msec = 0;
  if (fields.size() > 3 || !ReadNumber(fields[0], 2, hour) ||
      (fields.size() > 1 && !ReadNumber(fields[1], 2, minute)) ||
      (fields.size() > 2 && !ReadSeconds(fields[2], second, msec))) {
    return false;
  }
  if (designator != TDesignator::None) {
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (designator == TDesignator::PM ? 12 : 0);
  }
  return TryEncodeTime(hour, minute, second, msec, Value);
}

TDateTime StrToDate(const String& Text, const TFormatSettings& Settings) {
  return StrToDateNear(Text, TSystemClock().Now(), Settings);
}

TDateTime StrToDateNear(const String& Text, TDateTime Near, const TFormatSettings& Settings) {
  TDateTime value;
  if (!TryStrToDateNear(Text, Near, value, Settings)) RaiseInvalidDate(Text);
  return value;
}

TDateTime StrToTime(const String& Text, const TFormatSettings& Settings) {
  TDateTime value;
  if (!TryStrToTime(Text, value, Settings)) RaiseInvalidTime(Text);
  return value;
}

int StrToInt(const String& Text) {
  const String body = Trimmed(Text);
  size_t pos = 0;
  const bool negative = !body.empty() && body[0] == L'-';
  if (!body.empty() && (body[0] == L'-' || body[0] == L'+')) ++pos;
  const bool hex = pos < body.size() && body[pos] == L'$';
  if (hex) ++pos;
  // A hexadecimal text gives the 32 bits it spells, so $FFFFFFFF is -1.
  const int base = hex ? 16 : 10;
  const std::uint64_t limit = hex ? 0xFFFFFFFFu : negative ? 0x80000000u : 0x7FFFFFFFu;
  if (pos == body.size()) RaiseInvalidInteger(Text);
  std::uint64_t value = 0;
  for (; pos < body.size(); ++pos) {
    const int digit = DigitValue(body[pos], base);
    if (digit < 0) RaiseInvalidInteger(Text);
    value = value * base + digit;
    if (value > limit) RaiseInvalidInteger(Text);
  }
  const std::uint32_t bits = static_cast<std::uint32_t>(value);
  return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}

}  // namespace skx
