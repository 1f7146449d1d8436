// Locale format settings and the date and time texts that follow them.
#pragma once

#include "Framework/Core/DateTime.h"
#include "Framework/Core/Strings.h"

namespace skx {

// Formats use the platform's picture letters: d dd M MM yy yyyy for dates; h hh (12-hour),
// H HH (24-hour), m mm, s ss, t tt (AM/PM designator) for times; quoted text is literal.
struct TFormatSettings {
  String ShortDateFormat = L"M/d/yyyy";
  // Day and month names are the fixed English ones, whatever the locale.
  String LongDateFormat = L"dddd, MMMM d, yyyy";
  wchar_t DateSeparator = L'/';
  String LongTimeFormat = L"h:mm:ss tt";
  String ShortTimeFormat = L"h:mm tt";
  wchar_t TimeSeparator = L':';
  String TimeAMString = L"AM";
  String TimePMString = L"PM";

  bool operator==(const TFormatSettings& other) const {
    return ShortDateFormat == other.ShortDateFormat && LongDateFormat == other.LongDateFormat &&
           DateSeparator == other.DateSeparator && LongTimeFormat == other.LongTimeFormat &&
           ShortTimeFormat == other.ShortTimeFormat && TimeSeparator == other.TimeSeparator &&
           TimeAMString == other.TimeAMString && TimePMString == other.TimePMString;
  }
  bool operator!=(const TFormatSettings& other) const { return !(*this == other); }
};

// The settings in force: the user's locale on Windows (set by the platform layer at start-up),
// a fixture in native tests.
const TFormatSettings& GetFormatSettings();
void SetFormatSettings(const TFormatSettings& Settings);

String FormatDateTime(const String& Format, TDateTime Value, const TFormatSettings& Settings);
String DateToStr(TDateTime Value, const TFormatSettings& Settings = GetFormatSettings());
String TimeToStr(TDateTime Value, const TFormatSettings& Settings = GetFormatSettings());

// Parsing accepts what formatting produces and the usual shorter forms: a date in the short
// date format's field order with the date separator, a time as hours[:minutes[:seconds[.fraction]]]
// with the time separator and an optional AM/PM designator before or after it. A one- or two-digit
// year takes the century that puts the date nearest to the current date (or to Near); a short
// date format without a year takes the current year (or Near's). Blanks around the text are
// ignored. Failures raise "'%s' is not a valid date" and "'%s' is not a valid time".
TDateTime StrToDate(const String& Text, const TFormatSettings& Settings = GetFormatSettings());
TDateTime StrToDateNear(const String& Text, TDateTime Near,
                        const TFormatSettings& Settings = GetFormatSettings());
TDateTime StrToTime(const String& Text, const TFormatSettings& Settings = GetFormatSettings());
bool TryStrToDate(const String& Text, TDateTime& Value, const TFormatSettings& Settings = GetFormatSettings());
bool TryStrToDateNear(const String& Text, TDateTime Near, TDateTime& Value,
                      const TFormatSettings& Settings = GetFormatSettings());
bool TryStrToTime(const String& Text, TDateTime& Value, const TFormatSettings& Settings = GetFormatSettings());

// "'%s' is not a valid integer value" for anything but an optionally signed decimal in 32 bits
// or a $-prefixed hexadecimal of at most 32 bits ($FFFFFFFF is -1); blanks around it are ignored.
int StrToInt(const String& Text);

}  // namespace skx
