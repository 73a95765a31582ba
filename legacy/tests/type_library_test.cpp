// Loads the type library back out of tevrin4.dll and checks every attribute old hosts were
// compiled against, one table row at a time.
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "legacy/tests/wine_paths.h"

namespace {

using Microsoft::WRL::ComPtr;

constexpr GUID kLibId = {0x4AAD3155, 0x8546, 0x42E7, {0xA1, 0x28, 0x44, 0x02, 0x83, 0x1C, 0x13, 0xC4}};
constexpr GUID kInterfaceId = {0x9956A803, 0x787B, 0x4B43, {0x86, 0x84, 0x7B, 0x7A, 0x10, 0xBF, 0xB3, 0xAB}};
constexpr GUID kEventsId = {0x99D27981, 0x4897, 0x441B, {0xBA, 0x0B, 0x35, 0x2B, 0x55, 0x41, 0x3A, 0x63}};
constexpr GUID kClassId = {0x999DD9D2, 0x8906, 0x4232, {0x98, 0xEF, 0x9E, 0xEC, 0xB9, 0xB1, 0x0D, 0xAD}};
constexpr GUID kStdOle = {0x00020430, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct Param {
  const wchar_t* name;  // null: not named in the library
  VARTYPE vt;
  bool pointer;
  USHORT flags;
};

struct Member {
  const wchar_t* name;
  MEMBERID id;
  INVOKEKIND kind;
  WORD flags;
  VARTYPE result;
  std::vector<Param> params;
};

constexpr USHORT kIn = PARAMFLAG_FIN;
constexpr USHORT kRetval = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;

const std::vector<Member> kInterfaceMembers{
    {L"Visible", 201, INVOKE_PROPERTYGET, FUNCFLAG_FHIDDEN, VT_HRESULT, {{L"Value", VT_BOOL, true, kRetval}}},
    {L"Visible", 201, INVOKE_PROPERTYPUT, FUNCFLAG_FHIDDEN, VT_HRESULT, {{nullptr, VT_BOOL, false, kIn}}},
    {L"Active", 209, INVOKE_PROPERTYGET, FUNCFLAG_FHIDDEN, VT_HRESULT, {{L"Value", VT_BOOL, true, kRetval}}},
    {L"AboutBox", -552, INVOKE_FUNC, 0, VT_HRESULT, {}},
    {L"Config", 208, INVOKE_PROPERTYPUT, 0, VT_HRESULT, {{nullptr, VT_BSTR, false, kIn}}},
    {L"DialThisNumber", 205, INVOKE_FUNC, 0, VT_HRESULT, {{L"PhoneNumber", VT_BSTR, true, PARAMFLAG_FOUT}}},
    {L"About", 206, INVOKE_PROPERTYGET, 0, VT_HRESULT, {{L"Value", VT_BSTR, true, kRetval}}},
    {L"About", 206, INVOKE_PROPERTYPUT, 0, VT_HRESULT, {{nullptr, VT_BSTR, false, kIn}}},
    {L"ServiceRunning", 207, INVOKE_PROPERTYGET, 0, VT_HRESULT, {{L"Value", VT_BOOL, true, kRetval}}},
    {L"DeviceModel", 211, INVOKE_PROPERTYGET, 0, VT_HRESULT, {{L"Value", VT_BSTR, true, kRetval}}},
    {L"LineStatus", 202, INVOKE_PROPERTYGET, 0, VT_HRESULT,
     {{L"LineNum", VT_I4, false, kIn}, {L"Value", VT_BSTR, true, kRetval}}},
    {L"Start", 203, INVOKE_FUNC, 0, VT_HRESULT, {}},
};

std::vector<Param> Levels() {
  std::vector<Param> levels;
  for (const wchar_t* name : {L"Level1", L"Level2", L"Level3", L"Level4", L"Level5", L"Level6", L"Level7", L"Level8"})
    levels.push_back({name, VT_BSTR, false, kIn});
  return levels;
}

const std::vector<Member> kEventMembers{
    {L"OnActivate", 201, INVOKE_FUNC, 0, VT_VOID, {}},
    {L"OnCreate", 203, INVOKE_FUNC, 0, VT_VOID, {}},
    {L"OnDestroy", 205, INVOKE_FUNC, 0, VT_VOID, {}},
    {L"OnDeactivate", 206, INVOKE_FUNC, 0, VT_VOID, {}},
    {L"OnCallerID", 202, INVOKE_FUNC, FUNCFLAG_FUIDEFAULT, VT_HRESULT,
     {{L"ReceivedFromLine", VT_BSTR, false, kIn}, {L"PhoneNumber", VT_BSTR, false, kIn}, {L"DateTime", VT_BSTR, false, kIn}}},
    {L"OnDebug", 204, INVOKE_FUNC, 0, VT_HRESULT, {{L"SystemMsg", VT_BSTR, false, kIn}}},
    {L"OnSignalA", 229, INVOKE_FUNC, 0, VT_HRESULT, Levels()},
    {L"OnSignalD", 239, INVOKE_FUNC, 0, VT_HRESULT, Levels()},
    {L"OnBusy", 231, INVOKE_FUNC, 0, VT_HRESULT, {{L"LineNum", VT_BSTR, false, kIn}}},
    {L"OnReady", 241, INVOKE_FUNC, 0, VT_HRESULT, {{L"LineNum", VT_BSTR, false, kIn}}},
};

std::wstring Take(BSTR text) {
  std::wstring out = text ? text : L"";
  SysFreeString(text);
  return out;
}

struct Documentation {
  std::wstring name;
  std::wstring help;
  DWORD context = 0;
  bool hasHelpFile = false;
};

Documentation DocumentationOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL) {
  BSTR name = nullptr, help = nullptr, file = nullptr;
  Documentation doc;
  EXPECT_EQ(info->GetDocumentation(id, &name, &help, &doc.context, &file), S_OK);
  doc.name = Take(name);
  doc.help = Take(help);
  doc.hasHelpFile = file != nullptr;
  SysFreeString(file);
  return doc;
}

class Attributes {
 public:
  explicit Attributes(ITypeInfo* info) : info_(info) { EXPECT_EQ(info->GetTypeAttr(&attr_), S_OK); }
  ~Attributes() { info_->ReleaseTypeAttr(attr_); }
  const TYPEATTR* operator->() const { return attr_; }

 private:
  ITypeInfo* info_;
  TYPEATTR* attr_ = nullptr;
};

void ExpectParam(const ELEMDESC& elem, const Param& expected) {
  if (expected.pointer) {
    ASSERT_EQ(elem.tdesc.vt, VT_PTR);
    EXPECT_EQ(elem.tdesc.lptdesc->vt, expected.vt);
  } else {
    EXPECT_EQ(elem.tdesc.vt, expected.vt);
  }
  EXPECT_EQ(elem.paramdesc.wParamFlags, expected.flags);
}

void ExpectMember(ITypeInfo* info, UINT index, const Member& expected, FUNCKIND funcKind, SHORT tableOffset,
                  bool namesVisible) {
  SCOPED_TRACE(testing::Message() << "member " << index);
  FUNCDESC* func = nullptr;
  ASSERT_EQ(info->GetFuncDesc(index, &func), S_OK);
  EXPECT_EQ(func->memid, expected.id);
  EXPECT_EQ(func->funckind, funcKind);
  EXPECT_EQ(func->invkind, expected.kind);
  EXPECT_EQ(func->callconv, CC_STDCALL);
  EXPECT_EQ(func->oVft, tableOffset);
  EXPECT_EQ(func->wFuncFlags, expected.flags);
  EXPECT_EQ(func->elemdescFunc.tdesc.vt, expected.result);
  EXPECT_EQ(func->cParamsOpt, 0);
  ASSERT_EQ(static_cast<std::size_t>(func->cParams), expected.params.size());
  std::vector<std::wstring> names{expected.name};
  for (std::size_t p = 0; p < expected.params.size(); ++p) {
    ExpectParam(func->lprgelemdescParam[p], expected.params[p]);
    if (expected.params[p].name) names.push_back(expected.params[p].name);
  }
  BSTR name = nullptr;
  ASSERT_EQ(info->GetDocumentation(func->memid, &name, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(Take(name), expected.name);
  // GetNames answers for the first function with the id, so a put that follows its get is
  // covered by Config, the one put without a get.
  if (namesVisible) {
    BSTR got[16] = {};
    UINT count = 0;
    ASSERT_EQ(info->GetNames(func->memid, got, 16, &count), S_OK);
    std::vector<std::wstring> gotNames;
    for (UINT i = 0; i < count; ++i) gotNames.push_back(Take(got[i]));
    EXPECT_EQ(gotNames, names);
  }
  info->ReleaseFuncDesc(func);
}

// A library file and the system kind it was written for. The loader gives function-table
// offsets in the width of the process that reads the library, whichever width it was written for.
struct LibraryFile {
  std::wstring path;
  SYSKIND width;
};

void PrintTo(const LibraryFile& file, std::ostream* out) { *out << (file.width == SYS_WIN64 ? "win64" : "win32"); }

class TypeLibraryTest : public testing::TestWithParam<LibraryFile> {
 protected:
  void SetUp() override {
    // Where 32-bit programs run, the 32-bit build writes and checks its own library, and a
    // 64-bit process of Wine there resolves the other width's import of IDispatch in the
    // 32-bit half of the prefix, which it cannot read.
    wchar_t runs32[8] = {};
    if (GetParam().width != (sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32) &&
        GetEnvironmentVariableW(L"WINE_32BIT", runs32, 8) && std::wstring(runs32) == L"yes")
      GTEST_SKIP() << "the 32-bit build checks the 32-bit library it writes itself";
    ASSERT_EQ(LoadTypeLibEx(GetParam().path.c_str(), REGKIND_NONE, &library_), S_OK);
  }

  ComPtr<ITypeInfo> Type(UINT index) {
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(library_->GetTypeInfo(index, &info), S_OK);
    return info;
  }

  ComPtr<ITypeLib> library_;
};

TEST_P(TypeLibraryTest, LibraryAttributes) {
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(library_->GetLibAttr(&attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(attr->guid, kLibId));
  EXPECT_EQ(attr->lcid, 0u);
  EXPECT_EQ(attr->syskind, GetParam().width);
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  // The loader adds FHASDISKIMAGE to whatever the file says.
  EXPECT_EQ(attr->wLibFlags & ~LIBFLAG_FHASDISKIMAGE, LIBFLAG_FCONTROL);
  library_->ReleaseTLibAttr(attr);

  BSTR name = nullptr, help = nullptr, file = nullptr;
  DWORD context = 1;
  ASSERT_EQ(library_->GetDocumentation(-1, &name, &help, &context, &file), S_OK);
  EXPECT_EQ(Take(name), L"Upgrade_v4");
  EXPECT_EQ(Take(help), L"Upgrade_v4 Library");
  EXPECT_EQ(context, 0u);
  EXPECT_EQ(file, nullptr);
  SysFreeString(file);
}

TEST_P(TypeLibraryTest, HoldsThreeTypesInOrder) {
  ASSERT_EQ(library_->GetTypeInfoCount(), 3u);
  const struct {
    const wchar_t* name;
    const GUID* guid;
    TYPEKIND kind;
    const wchar_t* help;
  } expected[] = {
      {L"IKalloraPlus", &kInterfaceId, TKIND_DISPATCH, L"Dispatch interface for KalloraPlus Control"},
      {L"IKalloraPlusEvents", &kEventsId, TKIND_DISPATCH, L"Events interface for KalloraPlus Control"},
      {L"KalloraPlus", &kClassId, TKIND_COCLASS, L"KalloraPlus Control"},
  };
  for (UINT i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    TYPEKIND kind{};
    ASSERT_EQ(library_->GetTypeInfoType(i, &kind), S_OK);
    EXPECT_EQ(kind, expected[i].kind);
    ComPtr<ITypeInfo> info = Type(i);
    Attributes attr(info.Get());
    EXPECT_TRUE(IsEqualGUID(attr->guid, *expected[i].guid));
    EXPECT_EQ(attr->wMajorVerNum, 1);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    EXPECT_EQ(attr->lcid, 0u);
    const Documentation doc = DocumentationOf(info.Get());
    EXPECT_EQ(doc.name, expected[i].name);
    EXPECT_EQ(doc.help, expected[i].help);
    EXPECT_EQ(doc.context, 0u);
    EXPECT_FALSE(doc.hasHelpFile);
  }
}

TEST_P(TypeLibraryTest, InterfaceIsDualOverStdOleDispatch) {
  ComPtr<ITypeInfo> dispatchSide = Type(0);
  HREFTYPE vtableRef = 0;
  ASSERT_EQ(dispatchSide->GetRefTypeOfImplType(-1, &vtableRef), S_OK);
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(dispatchSide->GetRefTypeInfo(vtableRef, &info), S_OK);
  Attributes attr(info.Get());
  EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
  EXPECT_EQ(attr->wTypeFlags, TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE);
  EXPECT_EQ(attr->wTypeFlags, 0x1140);
  EXPECT_EQ(attr->cFuncs, 12);
  EXPECT_EQ(attr->cVars, 0);
  // The table's size is given in the library's own width.
  EXPECT_EQ(attr->cbSizeVft, 19 * (GetParam().width == SYS_WIN64 ? 8 : 4));

  ASSERT_EQ(attr->cImplTypes, 1);
  HREFTYPE baseRef = 0;
  ASSERT_EQ(info->GetRefTypeOfImplType(0, &baseRef), S_OK);
  ComPtr<ITypeInfo> base;
  ASSERT_EQ(info->GetRefTypeInfo(baseRef, &base), S_OK);
  Attributes baseAttr(base.Get());
  EXPECT_TRUE(IsEqualGUID(baseAttr->guid, IID_IDispatch));
  ComPtr<ITypeLib> imported;
  UINT index = 0;
  ASSERT_EQ(base->GetContainingTypeLib(&imported, &index), S_OK);
  TLIBATTR* importedAttr = nullptr;
  ASSERT_EQ(imported->GetLibAttr(&importedAttr), S_OK);
  EXPECT_TRUE(IsEqualGUID(importedAttr->guid, kStdOle));
  EXPECT_EQ(importedAttr->wMajorVerNum, 2);
  EXPECT_EQ(importedAttr->wMinorVerNum, 0);
  imported->ReleaseTLibAttr(importedAttr);

  Attributes dispatchAttr(dispatchSide.Get());
  EXPECT_TRUE(dispatchAttr->wTypeFlags & TYPEFLAG_FDUAL);
  EXPECT_EQ(dispatchAttr->cFuncs, 7 + 12);
}

TEST_P(TypeLibraryTest, InterfaceMembersFollowIDispatchInTheFunctionTable) {
  ComPtr<ITypeInfo> dispatchSide = Type(0);
  HREFTYPE vtableRef = 0;
  ASSERT_EQ(dispatchSide->GetRefTypeOfImplType(-1, &vtableRef), S_OK);
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(dispatchSide->GetRefTypeInfo(vtableRef, &info), S_OK);
  for (UINT i = 0; i < kInterfaceMembers.size(); ++i) {
    const bool followsItsGet = i > 0 && kInterfaceMembers[i - 1].id == kInterfaceMembers[i].id;
    ExpectMember(info.Get(), i, kInterfaceMembers[i], FUNC_PUREVIRTUAL, static_cast<SHORT>((7 + i) * sizeof(void*)),
                 !followsItsGet);
  }
}

TEST_P(TypeLibraryTest, LateBoundNamesMapToDispids) {
  ComPtr<ITypeInfo> info = Type(0);
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"LineStatus"), const_cast<LPOLESTR>(L"LineNum")};
  MEMBERID ids[2] = {};
  ASSERT_EQ(info->GetIDsOfNames(names, 2, ids), S_OK);
  EXPECT_EQ(ids[0], 202);
  EXPECT_EQ(ids[1], 0);
  LPOLESTR aboutBox[] = {const_cast<LPOLESTR>(L"AboutBox")};
  ASSERT_EQ(info->GetIDsOfNames(aboutBox, 1, ids), S_OK);
  EXPECT_EQ(ids[0], DISPID_ABOUTBOX);
}

TEST_P(TypeLibraryTest, EventsArePureDispinterfaceInLibraryOrder) {
  ComPtr<ITypeInfo> info = Type(1);
  Attributes attr(info.Get());
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  EXPECT_EQ(attr->wTypeFlags, TYPEFLAG_FDISPATCHABLE);
  EXPECT_EQ(attr->cImplTypes, 0);  // no base listed
  HREFTYPE ref = 0;
  EXPECT_NE(info->GetRefTypeOfImplType(-1, &ref), S_OK);  // not dual
  ASSERT_EQ(attr->cFuncs, 10);
  EXPECT_EQ(attr->cVars, 0);
  for (UINT i = 0; i < kEventMembers.size(); ++i)
    ExpectMember(info.Get(), i, kEventMembers[i], FUNC_DISPATCH, 0, true);
}

TEST_P(TypeLibraryTest, CoclassIsACreatableControl) {
  ComPtr<ITypeInfo> info = Type(2);
  Attributes attr(info.Get());
  EXPECT_EQ(attr->wTypeFlags, TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL);
  EXPECT_EQ(attr->wTypeFlags, 0x22);
  ASSERT_EQ(attr->cImplTypes, 2);
  const struct {
    const GUID* iid;
    INT flags;
  } expected[] = {{&kInterfaceId, IMPLTYPEFLAG_FDEFAULT}, {&kEventsId, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}};
  for (UINT i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    INT flags = 0;
    ASSERT_EQ(info->GetImplTypeFlags(i, &flags), S_OK);
    EXPECT_EQ(flags, expected[i].flags);
    HREFTYPE ref = 0;
    ASSERT_EQ(info->GetRefTypeOfImplType(i, &ref), S_OK);
    ComPtr<ITypeInfo> implemented;
    ASSERT_EQ(info->GetRefTypeInfo(ref, &implemented), S_OK);
    Attributes implementedAttr(implemented.Get());
    EXPECT_TRUE(IsEqualGUID(implementedAttr->guid, *expected[i].iid));
  }
}

// The server's own library; a 64-bit build checks the 32-bit library its writer makes too, so
// that both are checked where no 32-bit program runs.
const LibraryFile kLibraryFiles[] = {
    {test::Tevrin4Path(), sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32},
#ifdef TYPE_LIBRARY_WIN32_PATH
    {TYPE_LIBRARY_WIN32_PATH, SYS_WIN32},
#endif
};
INSTANTIATE_TEST_SUITE_P(Widths, TypeLibraryTest, testing::ValuesIn(kLibraryFiles));

}  // namespace
