// Script hosts pass a variable by reference as a reference to a VARIANT holding it; the type
// information's Invoke of some systems wants a reference to the value itself for a typed
// by-reference parameter (BSTR*), and refuses the call. These arguments point straight at the
// value inside the caller's VARIANT, so what the member writes still lands in the variable.
#pragma once

#include <oaidl.h>

#include <vector>

namespace activex {

class ByReferenceArguments {
 public:
  explicit ByReferenceArguments(const DISPPARAMS* parameters);
  ByReferenceArguments(const ByReferenceArguments&) = delete;
  ByReferenceArguments& operator=(const ByReferenceArguments&) = delete;

  DISPPARAMS* Get() noexcept { return original_ ? &parameters_ : nullptr; }

 private:
  const DISPPARAMS* original_;
  std::vector<VARIANTARG> arguments_;
  DISPPARAMS parameters_{};
};

}  // namespace activex
