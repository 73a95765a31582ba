#include "legacy/typelib/type_library_writer.h"

#include <wrl/client.h>

#include <map>
#include <string>

#include "common/error.h"
#include "legacy/typelib/msft_file.h"

namespace legacy::typelib {
namespace {

using Microsoft::WRL::ComPtr;

void Check(HRESULT hr, const wchar_t* step) {
  if (FAILED(hr)) throw common::Error(std::wstring(L"Writing the type library failed: ") + step, hr);
}

struct GuidLess {
  bool operator()(const GUID& a, const GUID& b) const { return memcmp(&a, &b, sizeof(GUID)) < 0; }
};
using CreatedTypes = std::map<GUID, ComPtr<ITypeInfo>, GuidLess>;

// Keeps the element descriptions alive while the function description points into them.
struct FunctionLayout {
  std::vector<TYPEDESC> pointees;
  std::vector<ELEMDESC> params;
  FUNCDESC desc{};
};

void Describe(const MemberDescription& member, TYPEKIND kind, FunctionLayout& out) {
  out.pointees.resize(member.params.size());
  out.params.resize(member.params.size());
  for (std::size_t i = 0; i < member.params.size(); ++i) {
    const ParamDescription& param = member.params[i];
    ELEMDESC& elem = out.params[i];
    elem = {};
    if (param.type & VT_BYREF) {
      out.pointees[i].vt = param.type & ~VT_BYREF;
      elem.tdesc.vt = VT_PTR;
      elem.tdesc.lptdesc = &out.pointees[i];
    } else {
      elem.tdesc.vt = param.type;
    }
    elem.paramdesc.wParamFlags = param.flags;
  }
  FUNCDESC& desc = out.desc;
  desc.memid = member.id;
  desc.funckind = kind == TKIND_DISPATCH ? FUNC_DISPATCH : FUNC_PUREVIRTUAL;
  desc.invkind = member.kind;
  desc.callconv = CC_STDCALL;
  desc.cParams = static_cast<SHORT>(member.params.size());
  desc.lprgelemdescParam = out.params.empty() ? nullptr : out.params.data();
  desc.elemdescFunc.tdesc.vt = member.result;
  desc.wFuncFlags = member.flags;
}

void AddMember(ICreateTypeInfo* type, UINT index, const MemberDescription& member, TYPEKIND kind) {
  FunctionLayout layout;
  Describe(member, kind, layout);
  Check(type->AddFuncDesc(index, &layout.desc), member.name);
  std::vector<LPOLESTR> names{const_cast<LPOLESTR>(member.name)};
  for (const ParamDescription& param : member.params)
    if (param.name) names.push_back(const_cast<LPOLESTR>(param.name));
  Check(type->SetFuncAndParamNames(index, names.data(), static_cast<UINT>(names.size())), member.name);
}

void AddImplemented(ICreateTypeInfo* type, UINT index, ITypeInfo* implemented, int flags) {
  HREFTYPE ref = 0;
  Check(type->AddRefTypeInfo(implemented, &ref), L"AddRefTypeInfo");
  Check(type->AddImplType(index, ref), L"AddImplType");
  if (flags) Check(type->SetImplTypeFlags(index, flags), L"SetImplTypeFlags");
}

ComPtr<ITypeInfo> StdOleDispatch() {
  ComPtr<ITypeLib> stdole;
  Check(LoadTypeLib(L"stdole2.tlb", &stdole), L"stdole2.tlb");
  ComPtr<ITypeInfo> dispatch;
  Check(stdole->GetTypeInfoOfGuid(IID_IDispatch, &dispatch), L"IDispatch");
  return dispatch;
}

void AddType(ICreateTypeLib2* library, const TypeDescription& description, ITypeInfo* dispatch, CreatedTypes& created) {
  ComPtr<ICreateTypeInfo> type;
  Check(library->CreateTypeInfo(const_cast<LPOLESTR>(description.name), description.kind, &type), description.name);
  Check(type->SetGuid(*description.guid), description.name);
  Check(type->SetVersion(1, 0), description.name);
  Check(type->SetDocString(const_cast<LPOLESTR>(description.helpString)), description.name);
  Check(type->SetTypeFlags(description.typeFlags), description.name);
  if (description.kind == TKIND_COCLASS) {
    for (UINT i = 0; i < description.implemented.size(); ++i) {
      const ImplementedDescription& implemented = description.implemented[i];
      AddImplemented(type.Get(), i, created.at(*implemented.iid).Get(), implemented.flags);
    }
  } else if (description.kind == TKIND_INTERFACE) {
    AddImplemented(type.Get(), 0, dispatch, 0);
  }
  for (UINT i = 0; i < description.members.size(); ++i)
    AddMember(type.Get(), i, description.members[i], description.kind);
  // Adding a dispatchable interface to a coclass marks the coclass dispatchable too; the
  // flags are the library's own, so they are set once more at the end.
  Check(type->SetTypeFlags(description.typeFlags), description.name);
  Check(type->LayOut(), description.name);
  ComPtr<ITypeInfo> info;
  Check(type.As(&info), description.name);
  created[*description.guid] = info;
}

}  // namespace

void WriteTypeLibrary(const LibraryDescription& description, SYSKIND width, const std::wstring& path) {
  ComPtr<ICreateTypeLib2> library;
  Check(CreateTypeLib2(width, path.c_str(), &library), L"CreateTypeLib2");
  Check(library->SetName(const_cast<LPOLESTR>(description.name)), L"SetName");
  Check(library->SetGuid(*description.libid), L"SetGuid");
  Check(library->SetVersion(description.major, description.minor), L"SetVersion");
  Check(library->SetLcid(description.lcid), L"SetLcid");
  Check(library->SetDocString(const_cast<LPOLESTR>(description.helpString)), L"SetDocString");
  Check(library->SetLibFlags(description.libFlags), L"SetLibFlags");
  const ComPtr<ITypeInfo> dispatch = StdOleDispatch();
  CreatedTypes created;
  for (const TypeDescription& type : description.types) AddType(library.Get(), type, dispatch.Get(), created);
  Check(library->SaveAllChanges(), L"SaveAllChanges");
  for (std::size_t i = 0; i < description.types.size(); ++i)
    if (description.types[i].kind == TKIND_DISPATCH)
      SetDispinterfaceTableSize(path, static_cast<int>(i), description.types[i].members.size(),
                                PointerSize(width));
}

}  // namespace legacy::typelib
