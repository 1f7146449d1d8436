// Weak references to objects whose owner may free them while others still point at them.
#pragma once

#include <memory>

namespace skx {

// Base of an object that others may hold weakly: its destruction empties every weak reference.
class TWeakTarget {
 public:
  TWeakTarget() = default;
  TWeakTarget(const TWeakTarget&) {}
  TWeakTarget& operator=(const TWeakTarget&) { return *this; }
  virtual ~TWeakTarget() {
    if (FSelf) **FSelf = nullptr;
  }

 private:
  template <typename T>
  friend class TWeakRef;
  // Made for the first weak reference only: most targets never get one, and a target holds just
  // the one pointer (every task and marker is one).
  const std::shared_ptr<TWeakTarget*>& Cell() {
    if (!FSelf) {
      FSelf = std::make_unique<std::shared_ptr<TWeakTarget*>>(std::make_shared<TWeakTarget*>(this));
    }
    return *FSelf;
  }
  std::unique_ptr<std::shared_ptr<TWeakTarget*>> FSelf;
};

template <typename T>
class TWeakRef {
 public:
  TWeakRef() = default;
  explicit TWeakRef(T* target) : FCell(target ? target->Cell() : nullptr) {}

  // The target, or null once it was freed (or when none was given).
  T* Get() const { return FCell && *FCell ? static_cast<T*>(*FCell) : nullptr; }
  bool Expired() const { return Get() == nullptr; }

 private:
  std::shared_ptr<TWeakTarget*> FCell;
};

}  // namespace skx
