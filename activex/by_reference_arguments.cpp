#include "activex/by_reference_arguments.h"

namespace activex {
namespace {

// A plain value behind a VARIANT reference; a decimal fills the whole VARIANT and stays as it is.
bool Unwrappable(const VARIANT* inner) {
  const VARTYPE vt = V_VT(inner);
  return inner && !(vt & (VT_BYREF | VT_ARRAY)) && vt != VT_VARIANT && vt != VT_DECIMAL && vt != VT_EMPTY &&
         vt != VT_NULL;
}

}  // namespace

ByReferenceArguments::ByReferenceArguments(const DISPPARAMS* parameters) : original_(parameters) {
  if (!parameters) return;
  parameters_ = *parameters;
  if (!parameters->rgvarg || parameters->cArgs == 0) return;
  arguments_.assign(parameters->rgvarg, parameters->rgvarg + parameters->cArgs);
  for (VARIANTARG& argument : arguments_) {
    if (V_VT(&argument) != (VT_VARIANT | VT_BYREF)) continue;
    VARIANT* inner = V_VARIANTREF(&argument);
    if (!Unwrappable(inner)) continue;
    V_VT(&argument) = static_cast<VARTYPE>(V_VT(inner) | VT_BYREF);
    V_BYREF(&argument) = &V_I4(inner);  // every plain value starts where the 32-bit one does
  }
  parameters_.rgvarg = arguments_.data();
}

}  // namespace activex
