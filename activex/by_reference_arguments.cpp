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

// Values the variable owns and that a member's answer replaces without freeing.
bool Owned(VARTYPE vt) { return vt == VT_BSTR || vt == VT_UNKNOWN || vt == VT_DISPATCH; }

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
  // Most calls pass their values as they are: then there is nothing to unwrap, and the
  // member's description, dear to look up, is not read.
  if (!parameters || std::none_of(parameters->rgvarg, parameters->rgvarg + parameters->cArgs, [](const VARIANTARG& a) {
        return V_VT(&a) == (VT_VARIANT | VT_BYREF);
      }))
    return;
  arguments_.assign(parameters->rgvarg, parameters->rgvarg + parameters->cArgs);
  const std::vector<bool> outOnly = OutOnlyParameters(info, id, flags);
  for (UINT i = 0; i < parameters->cArgs; ++i) {
    // Named arguments come first, then the positional ones, last parameter first.
    const LONG position = i < parameters->cNamedArgs ? parameters->rgdispidNamedArgs[i]
                                                     : static_cast<LONG>(parameters->cArgs - 1 - i);
    Unwrap(arguments_[i], position >= 0 && static_cast<std::size_t>(position) < outOnly.size() && outOnly[position]);
  }
  parameters_.rgvarg = arguments_.data();
}

ByReferenceArguments::~ByReferenceArguments() {
  for (Answer& answer : answers_)
    if (V_VT(answer.variable) != V_VT(&answer.before) || V_BYREF(answer.variable) != V_BYREF(&answer.before))
      VariantClear(&answer.before);
}

void ByReferenceArguments::Unwrap(VARIANTARG& argument, bool outOnly) {
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
  const bool seen = std::any_of(answers_.begin(), answers_.end(),
                                [inner](const Answer& answer) { return answer.variable == inner; });
  if (outOnly && Owned(vt) && !seen) answers_.push_back({inner, *inner});
}

}  // namespace activex
