// Tools of the fuzzing tests: a call log that survives a crash, a thread that answers every
// dialog, boundary values by type, and a caller that drives every member of an interface from
// its type information, late-bound and through the vtable.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace skx::test {

// One line per call, written and flushed before the call runs: after a crash its last line
// names the culprit. The file lies in the program's folder.
class TCallLog {
 public:
  explicit TCallLog(const std::wstring& name);
  ~TCallLog();
  TCallLog(const TCallLog&) = delete;
  TCallLog& operator=(const TCallLog&) = delete;

  void Write(const std::string& text);
  long Calls() const { return FCalls; }

 private:
  FILE* FFile = nullptr;
  long FCalls = 0;
};

// Closes every visible top-level window that the thread shows, except Keep, as a user pressing
// OK or Cancel in turn; counts what it answered.
class TDialogAnswerer {
 public:
  TDialogAnswerer(DWORD thread, HWND keep);
  ~TDialogAnswerer();
  TDialogAnswerer(const TDialogAnswerer&) = delete;
  TDialogAnswerer& operator=(const TDialogAnswerer&) = delete;

  long Answered() const { return FAnswered; }

 private:
  static BOOL CALLBACK Answer(HWND window, LPARAM self);

  DWORD FThread;
  HWND FKeep;
  std::atomic<bool> FDone{false};
  std::atomic<long> FAnswered{0};
  std::thread FWorker;
};

// A value that owns what it holds.
struct TFuzzValue {
  TFuzzValue();
  explicit TFuzzValue(const VARIANT& value);
  TFuzzValue(const TFuzzValue& other);
  TFuzzValue& operator=(const TFuzzValue& other);
  ~TFuzzValue();
  VARIANT Value;
  std::string Text() const;
};

// The objects a parameter of an interface type is fed, besides null.
struct TFuzzObjects {
  std::vector<IDispatch*> Objects;
  std::vector<std::string> Names;
};

// What a parameter of the type is fed: the boundaries of its kind.
std::vector<TFuzzValue> BoundaryValues(ITypeInfo* owner, const TYPEDESC& type, const TFuzzObjects& objects);
// Values of the wrong kind for any parameter.
std::vector<TFuzzValue> WrongTypeValues();

// Drives every member of an object from its type information.
class TMemberFuzzer {
 public:
  TMemberFuzzer(TCallLog& log, const TFuzzObjects& objects) : FLog(log), FObjects(objects) {}

  // Every get, put and method with every boundary value, late-bound with wrong, missing, extra
  // and named arguments too, and through the vtable where the object has a dual interface;
  // the objects that calls return are fuzzed in turn down to Depth levels.
  void FuzzObject(IDispatch* object, const std::string& name, int depth);
  long Calls() const { return FCalls; }
  // How many failed calls had their results checked.
  long Checks() const { return FChecks; }

 private:
  HRESULT Invoke(IDispatch* object, ITypeInfo* vtable, const FUNCDESC& func, const std::string& name,
                 const std::vector<TFuzzValue>& args, bool named, VARIANT* result);
  void FuzzMember(IDispatch* object, ITypeInfo* info, ITypeInfo* vtable, const FUNCDESC& func,
                  const std::string& name, int depth);
  void Follow(const VARIANT& result, const std::string& name, int depth);
  void ExpectEmptyResult(const VARIANT& result, const std::string& label, const std::vector<TFuzzValue>& args);
  void ExpectBadCount(HRESULT hr, const std::string& label);
  void ExpectVtableGetClearsOnFailure(IDispatch* object, ITypeInfo* vtable, const FUNCDESC& func,
                                      const std::string& label, const std::vector<TFuzzValue>& args);
  static size_t ResultSize(ITypeInfo* owner, const TYPEDESC& pointer);

  TCallLog& FLog;
  const TFuzzObjects& FObjects;
  long FCalls = 0;
  long FChecks = 0;
  std::vector<std::string> FFollowed;
};

// The windows below Parent, at every depth.
int DescendantWindows(HWND parent);

// Points of the grid window's client area that lie inside the marker of a lone task starting at
// the time of day (a fraction of a day), whichever shown day it falls on, as placement lays out a
// grid 600 pixels wide scrolled to its top: 15-minute rows 17 pixels high below the heading row,
// day columns from x = 50, markers from 10 pixels into their column. One point per day column
// of the weekly view; the daily view's single column holds them all.
std::vector<POINT> MarkerPoints(double timeOfDay);
// Presses and releases the left or right button at the point of the window, as the system does.
void ClickAt(HWND window, POINT at, bool right = false);

// The name of a member as the type information spells it.
std::string MemberName(ITypeInfo* info, MEMBERID id);
std::string Narrow(const std::wstring& text);

}  // namespace skx::test
