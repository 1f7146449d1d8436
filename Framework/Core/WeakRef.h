// Weak references to objects whose owner may free them while others still point at them.
#pragma once

#include <memory>

namespace skx {

// Base of an object that others may hold weakly: its destruction empties every weak reference.
class TWeakTarget {
 public:
  TWeakTarget() : FSelf(std::make_shared<TWeakTarget*>(this)) {}
  TWeakTarget(const TWeakTarget&) : TWeakTarget() {}
  TWeakTarget& operator=(const TWeakTarget&) { return *this; }
  virtual ~TWeakTarget() { *FSelf = nullptr; }

 private:
  template <typename T>
  friend class TWeakRef;
  std::shared_ptr<TWeakTarget*> FSelf;
};

template <typename T>
class TWeakRef {
 public:
  TWeakRef() = default;
  explicit TWeakRef(T* target) : FCell(target ? target->FSelf : nullptr) {}

  // The target, or null once it was freed (or when none was given).
  T* Get() const { return FCell && *FCell ? static_cast<T*>(*FCell) : nullptr; }
  bool Expired() const { return Get() == nullptr; }

 private:
  std::shared_ptr<TWeakTarget*> FCell;
};

}  // namespace skx
