// Reads a locale's date and time formats, separators and designators from Windows.
#include "Framework/Win32/OsLocale.h"

#include <windows.h>

namespace skx {

namespace {

String LocaleText(LCID locale, LCTYPE item) {
  wchar_t buffer[128] = {};
  if (::GetLocaleInfoW(locale, item, buffer, 128) == 0) return String();
  return buffer;
}

// The parser splits at the separator setting, so it must be the character the format really
// puts between its fields; the separator item and the format can disagree when the user edited
// only one of them.
wchar_t SeparatorOf(const String& format, const String& separatorItem, wchar_t fallback) {
  bool quoted = false;
  for (wchar_t c : format) {
    if (c == L'\'') {
      quoted = !quoted;
    } else if (!quoted && !::IsCharAlphaW(c) && c != L' ') {
      return c;
    }
  }
  return separatorItem.empty() ? fallback : separatorItem[0];
}

}  // namespace

TFormatSettings ReadUserFormatSettings() { return ReadLocaleFormatSettings(LOCALE_USER_DEFAULT); }

TFormatSettings ReadLocaleFormatSettings(unsigned long locale) {
  TFormatSettings settings;
  const String shortDate = LocaleText(locale, LOCALE_SSHORTDATE);
  if (!shortDate.empty()) settings.ShortDateFormat = shortDate;
  settings.DateSeparator =
      SeparatorOf(settings.ShortDateFormat, LocaleText(locale, LOCALE_SDATE), settings.DateSeparator);
  const String longDate = LocaleText(locale, LOCALE_SLONGDATE);
  if (!longDate.empty()) settings.LongDateFormat = longDate;
  const String longTime = LocaleText(locale, LOCALE_STIMEFORMAT);
  if (!longTime.empty()) settings.LongTimeFormat = longTime;
  settings.TimeSeparator =
      SeparatorOf(settings.LongTimeFormat, LocaleText(locale, LOCALE_STIME), settings.TimeSeparator);
  const String shortTime = LocaleText(locale, LOCALE_SSHORTTIME);
  if (!shortTime.empty()) settings.ShortTimeFormat = shortTime;
  settings.TimeAMString = LocaleText(locale, LOCALE_S1159);
  settings.TimePMString = LocaleText(locale, LOCALE_S2359);
  return settings;
}

}  // namespace skx
