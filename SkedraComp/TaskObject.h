// The task base class: time span, identifier and the operations every task offers.
#pragma once

#include "Framework/Core/DateTime.h"
#include "Framework/Core/Strings.h"
#include "Framework/Core/WeakRef.h"

namespace skx {

class TCanvas;
struct TRect;

class TTaskObject : public TWeakTarget {
 public:
  explicit TTaskObject(int AID) : FID(AID) {}
  virtual ~TTaskObject() = default;
  TTaskObject(const TTaskObject&) = delete;
  TTaskObject& operator=(const TTaskObject&) = delete;

  virtual void Draw(TCanvas& Canvas, const TRect& Rect);
  virtual bool EditAppend();
  virtual bool EditUpdate();
  virtual bool ConfirmDelete();
  // What a screen reader names the task by around its day and time: the subject before them,
  // the details (separated by commas) after them; either may be empty.
  virtual String AccessibleSubject() const;
  virtual String AccessibleDetails() const;
  // The identifier is the task's own until a task list takes it: "The identifier of a task
  // cannot change once it is in a schedule" (EInvalidOperation) after.
  void SetID(int value);

  TDateTime FStartDateTime = 0.0;
  TDateTime FFinishDateTime = 0.0;
  int FID;

 private:
  // The task lists alone claim a task as an entry takes it, and take back the claims of a call
  // they refuse; a public setter would let any caller undo the claim.
  friend class TTaskItems;
  // Set once an entry of a task list owns the task; no second entry may take it.
  bool FOwned = false;
};

}  // namespace skx
