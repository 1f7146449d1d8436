// IUnknown written once for small COM objects of one interface, and an IDispatch without type
// information over it for event sinks and script helpers. Header-only and free of the server
// object, so that programs that are not the control (the demo, a script host) can use it.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace skx {

// What the last Release does: an object on the heap deletes itself; an object that lives inside
// its owner (a member, a local) only counts, and the owner ends its life.
enum class TLifetime { Heap, Owned };

// Counting and QueryInterface: IUnknown and the interface IDs that Answers accepts are all
// answered with TInterface. The objects do not count toward the server's live objects; a class
// whose objects must keep the module loaded counts them itself, as TAutoObject does.
template <typename TInterface, TLifetime Lifetime = TLifetime::Heap>
class TComObject : public TInterface {
 public:
  TComObject(const TComObject&) = delete;
  TComObject& operator=(const TComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (!::IsEqualIID(riid, IID_IUnknown) && !Answers(riid)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<TInterface*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&FRefCount)); }
  ULONG STDMETHODCALLTYPE Release() override {
    auto count = static_cast<ULONG>(::InterlockedDecrement(&FRefCount));
    if constexpr (Lifetime == TLifetime::Heap) {
      if (count == 0) delete this;
    }
    return count;
  }
  ULONG RefCount() const { return static_cast<ULONG>(FRefCount); }

 protected:
  // references: the count the object starts with, 1 when its creator holds the first reference.
  explicit TComObject(ULONG references) : FRefCount(static_cast<LONG>(references)) {}
  virtual ~TComObject() = default;
  // Whether the object answers riid (other than IUnknown).
  virtual bool Answers(REFIID riid) const = 0;

 private:
  volatile LONG FRefCount;
};

// Answers IDispatch and one more interface ID (an event interface, say), has no type information
// and knows no names unless a derived class looks them up.
template <TLifetime Lifetime>
class TDispatchObject : public TComObject<IDispatch, Lifetime> {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

 protected:
  TDispatchObject(ULONG references, REFIID iid) : TComObject<IDispatch, Lifetime>(references), FIid(iid) {}
  bool Answers(REFIID riid) const override {
    return ::IsEqualIID(riid, IID_IDispatch) || ::IsEqualIID(riid, FIid);
  }

 private:
  IID FIid;
};

}  // namespace skx
