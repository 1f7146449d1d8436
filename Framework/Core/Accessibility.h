// What a control tells assistive technology: its elements' roles, names, states and places.
#pragma once

#include <functional>

#include "Framework/Core/Geometry.h"
#include "Framework/Core/Sets.h"
#include "Framework/Core/Strings.h"

namespace skx {

// Roles with the platform's values (named apart from its macros).
enum TAccessibleRole {
  arTable = 0x18,
  arColumnHeader = 0x19,
  arRow = 0x1C,
  arListItem = 0x22,
};

// Each flag is the bit position of the platform's state, so that a set's bits are its state.
enum TAccessibleStateFlag {
  asSelected = 1,
  asFocused = 2,
  asReadOnly = 6,
  asInvisible = 15,
  asOffscreen = 16,
  asFocusable = 20,
  asSelectable = 21,
};
using TAccessibleStates = TSet<TAccessibleStateFlag>;

// Events with the platform's values.
enum TAccessibleEvent {
  aeFocus = 0x8005,
  aeSelection = 0x8006,
  aeSelectionRemove = 0x8008,
};

// The elements of one control as a flat list: element 0 is the control itself, its children
// are 1 to ChildCount(). Every answer is read from the control's state at the time of the call,
// so an element number stays valid only until the control changes.
class TAccessibleModel {
 public:
  virtual ~TAccessibleModel() = default;

  virtual int ChildCount() const = 0;
  virtual TAccessibleRole Role(int element) const = 0;
  virtual String Name(int element) const = 0;
  virtual String Description(int element) const = 0;
  virtual String Value(int element) const = 0;
  virtual TAccessibleStates State(int element) const = 0;
  // In the control's client coordinates; empty for an element that is not shown.
  virtual TRect Bounds(int element) const = 0;
  // The element at a point of the client area: a child, or 0 for the control itself.
  virtual int ElementAt(TPoint point) const = 0;
  // The child with the keyboard focus, 0 when the control itself has it, -1 when neither has.
  virtual int FocusedElement() const = 0;
  // The selected child, or 0 when none is.
  virtual int SelectedChild() const = 0;
  // Empty for an element without one.
  virtual String DefaultActionName(int element) const = 0;
  // What the default action does, to be run later, once the caller has been answered (it may
  // open a modal dialog); null for an element without one. The command holds no reference that
  // its element's removal could leave dangling.
  virtual std::function<void()> DefaultAction(int element) = 0;
};

}  // namespace skx
