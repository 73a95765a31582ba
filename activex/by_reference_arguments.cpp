#include "activex/by_reference_arguments.h"

#include <algorithm>

namespace activex {
namespace {

// A plain value behind a VARIANT reference; a decimal fills the whole VARIANT and stays as it is.
bool Unwrappable(const VARIANT* inner) {
  if (!inner) return false;
  const VARTYPE vt = V_VT(inner);
  return !(vt & (VT_BYREF | VT_ARRAY)) && vt != VT_VARIANT && vt != VT_DECIMAL && vt != VT_EMPTY && vt != VT_NULL;
}

// Whether a by-reference argument of this type can point at something the caller owns, which
// an [out] parameter would overwrite.
bool MayOwn(VARTYPE vt) {
  if (!(vt & VT_BYREF)) return false;
  const VARTYPE base = vt & ~VT_BYREF;
  return (base & VT_ARRAY) || base == VT_VARIANT || base == VT_BSTR || base == VT_UNKNOWN || base == VT_DISPATCH;
}

// Frees what a by-reference argument points at and leaves an empty value of the same type, as
// a member filling an [out] parameter expects. A reference to a reference owns nothing.
void FreeReferredValue(VARIANTARG& argument) {
  if (!V_BYREF(&argument)) return;
  const VARTYPE base = V_VT(&argument) & ~VT_BYREF;
  if (base & VT_ARRAY) {
    SafeArrayDestroy(*V_ARRAYREF(&argument));
    *V_ARRAYREF(&argument) = nullptr;
  } else if (base == VT_BSTR) {
    SysFreeString(*V_BSTRREF(&argument));
    *V_BSTRREF(&argument) = nullptr;
  } else if (base == VT_UNKNOWN || base == VT_DISPATCH) {
    IUnknown** held = V_UNKNOWNREF(&argument);
    if (*held) (*held)->Release();
    *held = nullptr;
  } else if (base == VT_VARIANT) {
    VARIANT* inner = V_VARIANTREF(&argument);
    if (!(V_VT(inner) & VT_BYREF)) VariantClear(inner);
  }
}

// For each parameter of the member, by position: whether it is [out] and not [in]. The
// return value is no argument. Empty when no member answers `id` and `flags`.
std::vector<bool> OutOnlyParameters(ITypeInfo& info, DISPID id, WORD flags) {
  TYPEATTR* attributes = nullptr;
  if (FAILED(info.GetTypeAttr(&attributes))) return {};
  const WORD functions = attributes->cFuncs;
  info.ReleaseTypeAttr(attributes);
  std::vector<bool> outOnly;
  for (WORD i = 0; i < functions; ++i) {
    FUNCDESC* function = nullptr;
    if (FAILED(info.GetFuncDesc(i, &function))) continue;
    const bool found = function->memid == id && (function->invkind & flags);
    for (SHORT p = 0; found && p < function->cParams; ++p) {
      const USHORT f = function->lprgelemdescParam[p].paramdesc.wParamFlags;
      outOnly.push_back((f & PARAMFLAG_FOUT) && !(f & (PARAMFLAG_FIN | PARAMFLAG_FRETVAL)));
    }
    info.ReleaseFuncDesc(function);
    if (found) break;
  }
  return outOnly;
}

}  // namespace

bool ByReferenceArguments::WellFormed(const DISPPARAMS* parameters) noexcept {
  return !parameters || ((parameters->rgvarg || parameters->cArgs == 0) &&
                         parameters->cNamedArgs <= parameters->cArgs &&
                         (parameters->rgdispidNamedArgs || parameters->cNamedArgs == 0));
}

ByReferenceArguments::ByReferenceArguments(ITypeInfo& info, DISPID id, WORD flags, const DISPPARAMS* parameters) {
  if (parameters) parameters_ = *parameters;
  // Most calls pass their values as they are: then there is nothing to unwrap or free, and the
  // member's description, dear to look up, is not read.
  if (!parameters || std::none_of(parameters->rgvarg, parameters->rgvarg + parameters->cArgs,
                                  [](const VARIANTARG& a) { return MayOwn(V_VT(&a)); }))
    return;
  arguments_.assign(parameters->rgvarg, parameters->rgvarg + parameters->cArgs);
  const std::vector<bool> outOnly = OutOnlyParameters(info, id, flags);
  for (UINT i = 0; i < parameters->cArgs; ++i) {
    // Named arguments come first, then the positional ones, last parameter first.
    const LONG position = i < parameters->cNamedArgs ? parameters->rgdispidNamedArgs[i]
                                                     : static_cast<LONG>(parameters->cArgs - 1 - i);
    // A late-bound caller cannot know that a parameter is out-only and keeps what it passed;
    // the member overwrites it without freeing, so it is freed here.
    if (position >= 0 && static_cast<std::size_t>(position) < outOnly.size() && outOnly[position])
      FreeOutValue(arguments_[i]);
    Unwrap(arguments_[i]);
  }
  parameters_.rgvarg = arguments_.data();
}

// A variable wrapped in a VARIANT keeps its type, so that the unwrapped reference still fits
// the parameter.
void ByReferenceArguments::FreeOutValue(VARIANTARG& argument) {
  if (V_VT(&argument) == (VT_VARIANT | VT_BYREF) && Unwrappable(V_VARIANTREF(&argument))) {
    VARIANT* inner = V_VARIANTREF(&argument);
    VARIANTARG value;
    VariantInit(&value);
    V_VT(&value) = static_cast<VARTYPE>(V_VT(inner) | VT_BYREF);
    V_BYREF(&value) = &V_I4(inner);
    if (MayOwn(V_VT(&value))) FreeReferredValue(value);
    return;
  }
  FreeReferredValue(argument);
}

void ByReferenceArguments::Unwrap(VARIANTARG& argument) {
  if (V_VT(&argument) != (VT_VARIANT | VT_BYREF)) return;
  VARIANT* inner = V_VARIANTREF(&argument);
  if (!Unwrappable(inner)) return;
  const VARTYPE vt = V_VT(inner);
  V_VT(&argument) = static_cast<VARTYPE>(vt | VT_BYREF);
  if (vt == VT_RECORD) {
    // A record by reference is the record itself with its description, both the variable's.
    V_RECORD(&argument) = V_RECORD(inner);
    V_RECORDINFO(&argument) = V_RECORDINFO(inner);
  } else {
    V_BYREF(&argument) = &V_I4(inner);  // every plain value starts where the 32-bit one does
  }
}

}  // namespace activex
