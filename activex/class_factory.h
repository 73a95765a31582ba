// The server's class factories, as a table of data: each entry names a class and how to make
// one object of it. DllGetClassObject looks the class up in the table.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <exception>
#include <span>

namespace activex {

struct ClassEntry {
  const CLSID& clsid;
  // Makes a new object holding one reference for the caller; may throw.
  IUnknown* (*create)();
  // Told of a creation failure before the factory answers E_UNEXPECTED; may be null.
  void (*reportFailure)(const std::exception_ptr& failure) = nullptr;
};

// IClassFactory over one entry. Factories live as long as the module; their references and
// locks are what the server counts (ObjectCreated for a lock, FactoryReferenced for a reference).
class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(const ClassEntry& entry) : entry_(entry) {}
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  const CLSID& Clsid() const noexcept { return entry_.clsid; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  const ClassEntry& entry_;
  volatile LONG references_ = 0;
};

// DllGetClassObject over a table of factories.
HRESULT GetClassObject(std::span<ClassFactory* const> factories, REFCLSID clsid, REFIID iid,
                       void** out) noexcept;

}  // namespace activex
