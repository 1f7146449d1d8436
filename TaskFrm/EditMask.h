// The rules of a masked edit: which positions take digits, how a text fits in, what it shows.
#pragma once

#include <cstddef>
#include <vector>

#include "Framework/Core/Strings.h"

namespace skx {

// A mask such as "!90:00:00;1;_": '0' a required digit, '9' an optional digit, '\' makes the
// next character literal, any other character is a literal kept in the text; a leading '!'
// shows an empty optional position at the start of a field as a blank. After the first ';'
// comes whether the literals are part of the text ('1', the only kind supported here), after
// the second the character that shows an empty position.
class TEditMask {
 public:
  explicit TEditMask(const String& Mask);

  size_t Length() const { return FPositions.size(); }
  // What the control shows: the blank character for an empty position.
  String EditText() const;
  // The value: literals kept, every empty position a blank.
  String Text() const;
  // Fits a text into the mask field by field (the parts between literals); a short field is
  // aligned right when empty optional positions lead, left otherwise. Anything but a digit
  // leaves its position empty. Clears the modified state and remembers the text for Undo.
  void SetText(const String& Value);

  // Typing at the caret (an editable position, or the next one after literals): a digit fills
  // the position, a blank empties an optional one; the caret moves past it and past the
  // literals that follow. False, with nothing changed, when the character is refused.
  bool TypeChar(size_t& Caret, wchar_t C);
  // Empties the editable positions in [From, To).
  void Clear(size_t From, size_t To);
  // Empties the editable position before the caret and returns the caret moved onto it.
  size_t Backspace(size_t Caret);

  bool Modified() const { return FModified; }
  // The current text becomes the one Undo returns to.
  void MarkUnmodified();
  // Back to the text of the last SetText or MarkUnmodified.
  void Undo();
  // Leaving the field is refused when the user changed it and a required digit is missing.
  bool CanLeave() const;

 private:
  enum TKind { pkLiteral, pkRequired, pkOptional };
  struct TPosition {
    TKind Kind;
    wchar_t Literal;
    wchar_t Digit;  // 0 while empty
  };
  bool Editable(size_t Pos) const { return FPositions[Pos].Kind != pkLiteral; }
  bool LeadingBlank(size_t Pos) const;
  size_t SkipLiterals(size_t Pos) const;

  std::vector<TPosition> FPositions;
  bool FLeadingBlanks = false;
  wchar_t FBlank = L'_';
  bool FModified = false;
  String FSaved;
};

// Message of a field left with a required digit missing.
extern const wchar_t* const InvalidMaskInputMessage;

}  // namespace skx
