// The masked edit's positions, fitting, typing and leaving rules.
#include "TaskFrm/EditMask.h"

#include <algorithm>

namespace skx {

const wchar_t* const InvalidMaskInputMessage =
    L"Invalid input value.  Use escape key to abandon changes";

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

TEditMask::TEditMask(const String& Mask) {
  const size_t end = Mask.find(L';');
  const String picture = Mask.substr(0, end);
  if (end != String::npos) {
    const size_t blankSection = Mask.find(L';', end + 1);
    if (blankSection != String::npos && blankSection + 1 < Mask.size()) {
      FBlank = Mask[blankSection + 1];
    }
  }
  for (size_t i = 0; i < picture.size(); ++i) {
    const wchar_t c = picture[i];
    if (c == L'!') {
      FLeadingBlanks = true;
    } else if (c == L'\\' && i + 1 < picture.size()) {
      FPositions.push_back({pkLiteral, picture[++i], 0});
    } else if (c == L'0' || c == L'9') {
      FPositions.push_back({c == L'0' ? pkRequired : pkOptional, 0, 0});
    } else {
      FPositions.push_back({pkLiteral, c, 0});
    }
  }
  FSaved = Text();
}

bool TEditMask::LeadingBlank(size_t Pos) const {
  if (!FLeadingBlanks) return false;
  for (size_t i = Pos + 1; i-- > 0;) {
    if (!Editable(i)) return true;
    if (FPositions[i].Kind != pkOptional || FPositions[i].Digit != 0) return false;
  }
  return true;
}

size_t TEditMask::SkipLiterals(size_t Pos) const {
  while (Pos < Length() && !Editable(Pos)) ++Pos;
  return Pos;
}

String TEditMask::EditText() const {
  String text;
  for (size_t i = 0; i < Length(); ++i) {
    const TPosition& p = FPositions[i];
    text += !Editable(i) ? p.Literal : p.Digit != 0 ? p.Digit : LeadingBlank(i) ? L' ' : FBlank;
  }
  return text;
}

String TEditMask::Text() const {
  String text;
  for (const TPosition& p : FPositions) {
    text += p.Kind == pkLiteral ? p.Literal : p.Digit != 0 ? p.Digit : L' ';
  }
  return text;
}

void TEditMask::SetText(const String& Value) {
  size_t source = 0;
  size_t pos = 0;
  while (pos < Length()) {
    if (!Editable(pos)) {
      const size_t literal = Value.find(FPositions[pos].Literal, source);
      source = literal == String::npos ? Value.size() : literal + 1;
      ++pos;
      continue;
    }
    size_t fieldEnd = pos;
    while (fieldEnd < Length() && Editable(fieldEnd)) ++fieldEnd;
    size_t valueEnd = fieldEnd < Length() ? Value.find(FPositions[fieldEnd].Literal, source)
                                          : Value.size();
    if (valueEnd == String::npos) valueEnd = Value.size();
    const String field = Value.substr(source, valueEnd - source);
    const size_t width = fieldEnd - pos;
    const bool alignRight =
        FLeadingBlanks && FPositions[pos].Kind == pkOptional && field.size() < width;
    const size_t first = alignRight ? pos + width - field.size() : pos;
    for (size_t i = pos; i < fieldEnd; ++i) {
      const size_t index = i - first;
      const wchar_t c = i >= first && index < field.size() ? field[index] : 0;
      FPositions[i].Digit = IsDigit(c) ? c : 0;
    }
    source = valueEnd;
    pos = fieldEnd;
  }
  MarkUnmodified();
}

bool TEditMask::TypeChar(size_t& Caret, wchar_t C) {
  const size_t pos = SkipLiterals(Caret);
  if (pos >= Length()) return false;
  TPosition& p = FPositions[pos];
  if (IsDigit(C)) {
    p.Digit = C;
  } else if (C == L' ' && p.Kind == pkOptional) {
    p.Digit = 0;
  } else {
    return false;
  }
  FModified = true;
  Caret = SkipLiterals(pos + 1);
  return true;
}

void TEditMask::Clear(size_t From, size_t To) {
  for (size_t i = From; i < To && i < Length(); ++i) {
    if (!Editable(i)) continue;
    FPositions[i].Digit = 0;
    FModified = true;
  }
}

size_t TEditMask::Backspace(size_t Caret) {
  for (size_t pos = std::min(Caret, Length()); pos-- > 0;) {
    if (Editable(pos)) {
      FPositions[pos].Digit = 0;
      FModified = true;
      return pos;
    }
  }
  return Caret;
}

void TEditMask::MarkUnmodified() {
  FSaved = Text();
  FModified = false;
}

void TEditMask::Undo() { SetText(FSaved); }

bool TEditMask::CanLeave() const {
  if (!FModified) return true;
  for (const TPosition& p : FPositions) {
    if (p.Kind == pkRequired && p.Digit == 0) return false;
  }
  return true;
}

}  // namespace skx
