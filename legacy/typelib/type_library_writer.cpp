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

void Describe(const MemberSpec& member, TYPEKIND kind, FunctionLayout& out) {
  out.pointees.resize(member.params.size());
  out.params.resize(member.params.size());
  for (std::size_t i = 0; i < member.params.size(); ++i) {
    const ParamSpec& param = member.params[i];
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

void AddMember(ICreateTypeInfo* type, UINT index, const MemberSpec& member, TYPEKIND kind) {
  FunctionLayout layout;
  Describe(member, kind, layout);
  Check(type->AddFuncDesc(index, &layout.desc), member.name);
  std::vector<LPOLESTR> names{const_cast<LPOLESTR>(member.name)};
  for (const ParamSpec& param : member.params)
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

void AddType(ICreateTypeLib2* library, const TypeSpec& spec, ITypeInfo* dispatch, CreatedTypes& created) {
  ComPtr<ICreateTypeInfo> type;
  Check(library->CreateTypeInfo(const_cast<LPOLESTR>(spec.name), spec.kind, &type), spec.name);
  Check(type->SetGuid(*spec.guid), spec.name);
  Check(type->SetVersion(1, 0), spec.name);
  Check(type->SetDocString(const_cast<LPOLESTR>(spec.helpString)), spec.name);
  Check(type->SetTypeFlags(spec.typeFlags), spec.name);
  if (spec.kind == TKIND_COCLASS) {
    for (UINT i = 0; i < spec.implemented.size(); ++i)
      AddImplemented(type.Get(), i, created.at(*spec.implemented[i].iid).Get(), spec.implemented[i].flags);
  } else if (spec.kind == TKIND_INTERFACE) {
    AddImplemented(type.Get(), 0, dispatch, 0);
  }
  for (UINT i = 0; i < spec.members.size(); ++i) AddMember(type.Get(), i, spec.members[i], spec.kind);
  // Adding a dispatchable interface to a coclass marks the coclass dispatchable too; the
  // flags are the library's own, so they are set once more at the end.
  Check(type->SetTypeFlags(spec.typeFlags), spec.name);
  Check(type->LayOut(), spec.name);
  ComPtr<ITypeInfo> info;
  Check(type.As(&info), spec.name);
  created[*spec.guid] = info;
}

}  // namespace

void WriteTypeLibrary(const LibrarySpec& spec, const std::wstring& path) {
  ComPtr<ICreateTypeLib2> library;
  Check(CreateTypeLib2(SYS_WIN32, path.c_str(), &library), L"CreateTypeLib2");
  Check(library->SetName(const_cast<LPOLESTR>(spec.name)), L"SetName");
  Check(library->SetGuid(*spec.libid), L"SetGuid");
  Check(library->SetVersion(spec.major, spec.minor), L"SetVersion");
  Check(library->SetLcid(spec.lcid), L"SetLcid");
  Check(library->SetDocString(const_cast<LPOLESTR>(spec.helpString)), L"SetDocString");
  Check(library->SetLibFlags(spec.libFlags), L"SetLibFlags");
  const ComPtr<ITypeInfo> dispatch = StdOleDispatch();
  CreatedTypes created;
  for (const TypeSpec& type : spec.types) AddType(library.Get(), type, dispatch.Get(), created);
  Check(library->SaveAllChanges(), L"SaveAllChanges");
  for (std::size_t i = 0; i < spec.types.size(); ++i)
    if (spec.types[i].kind == TKIND_DISPATCH)
      SetDispinterfaceTableSize(path, static_cast<int>(i), spec.types[i].members.size());
}

}  // namespace legacy::typelib
