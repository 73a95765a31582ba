// A type library described as data: the members of an interface or dispinterface and the
// type descriptions of a library, so that writing it is one loop over tables.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <vector>

namespace legacy::typelib {

// The parameter and result types this library uses; a pointer type is the base VARTYPE with
// VT_BYREF added.
struct ParamDescription {
  const wchar_t* name;  // null: the unnamed value of a property put
  VARTYPE type;
  USHORT flags;  // PARAMFLAG_*
};

struct MemberDescription {
  const wchar_t* name;
  MEMBERID id;
  INVOKEKIND kind;
  WORD flags;  // FUNCFLAG_*
  VARTYPE result;
  std::vector<ParamDescription> params;
};

struct ImplementedDescription {
  const GUID* iid;
  int flags;  // IMPLTYPEFLAG_*
};

struct TypeDescription {
  const wchar_t* name;
  TYPEKIND kind;
  const GUID* guid;
  const wchar_t* helpString;
  WORD typeFlags;
  std::vector<MemberDescription> members;
  std::vector<ImplementedDescription> implemented;  // coclass only; interfaces derive from IDispatch
};

struct LibraryDescription {
  const wchar_t* name;
  const GUID* libid;
  const wchar_t* helpString;
  WORD major;
  WORD minor;
  LCID lcid;
  UINT libFlags;
  std::vector<TypeDescription> types;
};

}  // namespace legacy::typelib
