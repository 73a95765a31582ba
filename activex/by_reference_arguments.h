// Script hosts pass a variable by reference as a reference to a VARIANT holding it; the type
// information's Invoke of some systems wants a reference to the value itself for a typed
// by-reference parameter (BSTR*), and refuses the call. These arguments point straight at the
// value inside the caller's VARIANT, so what the member writes still lands in the variable.
// A member writes an [out] parameter without freeing what was there: when it replaced a
// variable's value, the old value is freed once the call is over.
#pragma once

#include <oaidl.h>

#include <vector>

namespace activex {

class ByReferenceArguments {
 public:
  // `info` describes the member that `id` and `flags` name. Null parameters stand for none.
  ByReferenceArguments(ITypeInfo& info, DISPID id, WORD flags, const DISPPARAMS* parameters);
  ~ByReferenceArguments();
  ByReferenceArguments(const ByReferenceArguments&) = delete;
  ByReferenceArguments& operator=(const ByReferenceArguments&) = delete;

  // Whether the counts and arrays agree, so that the arguments can be read at all.
  static bool WellFormed(const DISPPARAMS* parameters) noexcept;

  DISPPARAMS* Get() noexcept { return &parameters_; }

 private:
  // A caller's variable that answers an [out] parameter, and the value it held before.
  struct Answer {
    VARIANT* variable;
    VARIANT before;
  };

  void Unwrap(VARIANTARG& argument, bool outOnly);

  std::vector<VARIANTARG> arguments_;
  std::vector<Answer> answers_;
  DISPPARAMS parameters_{};
};

}  // namespace activex
