// Script hosts pass a variable by reference as a reference to a VARIANT holding it; the type
// information's Invoke of some systems wants a reference to the value itself for a typed
// by-reference parameter (BSTR*), and refuses the call. These arguments point straight at the
// value inside the caller's VARIANT, so what the member writes still lands in the variable.
// A member writes an [out] parameter without freeing what was there, as an early-bound caller
// expects; a late-bound caller passes its variable's value along, so whatever arrives by
// reference for an out-only parameter is freed before the call.
#pragma once

#include <oaidl.h>

#include <vector>

namespace activex {

class ByReferenceArguments {
 public:
  // `info` describes the member that `id` and `flags` name. Null parameters stand for none.
  ByReferenceArguments(ITypeInfo& info, DISPID id, WORD flags, const DISPPARAMS* parameters);
  ByReferenceArguments(const ByReferenceArguments&) = delete;
  ByReferenceArguments& operator=(const ByReferenceArguments&) = delete;

  // Whether the counts and arrays agree, so that the arguments can be read at all.
  static bool WellFormed(const DISPPARAMS* parameters) noexcept;

  DISPPARAMS* Get() noexcept { return &parameters_; }

 private:
  void FreeOutValue(VARIANTARG& argument);
  void Unwrap(VARIANTARG& argument);

  std::vector<VARIANTARG> arguments_;
  DISPPARAMS parameters_{};
};

}  // namespace activex
