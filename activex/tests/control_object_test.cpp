// The control object as a plain COM client and a late-bound host see it: its interfaces,
// IDispatch from the type library, class information, object safety and error information.
#include <objsafe.h>

#include "activex/bstr.h"
#include "activex/com_ptr.h"
#include "activex/server_module.h"
#include "com_test.h"
#include "test_control.h"

namespace activex::test {
namespace {

class ControlObjectTest : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    control_ = ComPtr<IUnknown>::Attach(static_cast<ITestControl*>(TestControl::Create()));
  }
  void TearDown() override {
    EXPECT_EQ(0u, control_.Detach()->Release());
    EXPECT_EQ(0, LiveObjects());
    ComTest::TearDown();
  }
  template <class T>
  ComPtr<T> As(REFIID iid) {
    return control_.As<T>(iid);
  }

  ComPtr<IUnknown> control_;
};

TEST_F(ControlObjectTest, AnswersEveryInterfaceOfAControlWithOneIdentity) {
  const IID* answered[] = {&IID_IDispatch, &IID_ITestControl, &IID_IOleObject, &IID_IOleWindow,
                           &IID_IOleInPlaceObject, &IID_IOleInPlaceActiveObject, &IID_IOleControl,
                           &IID_IViewObject, &IID_IViewObject2, &IID_IPersist, &IID_IPersistStreamInit,
                           &IID_IPersistPropertyBag, &IID_IProvideClassInfo, &IID_IProvideClassInfo2,
                           &IID_IConnectionPointContainer, &IID_IObjectSafety, &IID_ISupportErrorInfo};
  for (const IID* iid : answered) {
    ComPtr<IUnknown> face = As<IUnknown>(*iid);
    ASSERT_TRUE(face) << "interface " << (iid - answered[0]);
    ComPtr<IUnknown> identity = face.As<IUnknown>(IID_IUnknown);
    EXPECT_EQ(control_.As<IUnknown>(IID_IUnknown).Get(), identity.Get());
  }
}

TEST_F(ControlObjectTest, RefusesOtherInterfacesWithANullPointer) {
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, control_->QueryInterface(IID_IPersistStream, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(E_NOINTERFACE, control_->QueryInterface(IID_IClassFactory, &out));
  EXPECT_EQ(E_POINTER, control_->QueryInterface(IID_IDispatch, nullptr));
}

TEST_F(ControlObjectTest, ServesIDispatchFromTheTypeLibrary) {
  ComPtr<IDispatch> dispatch = As<IDispatch>(IID_IDispatch);
  UINT count = 0;
  EXPECT_EQ(S_OK, dispatch->GetTypeInfoCount(&count));
  EXPECT_EQ(1u, count);
  ComPtr<ITypeInfo> info;
  EXPECT_EQ(DISP_E_BADINDEX, dispatch->GetTypeInfo(1, 0, info.Put()));
  ASSERT_EQ(S_OK, dispatch->GetTypeInfo(0, 0, info.Put()));
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
  EXPECT_TRUE(IsEqualIID(IID_ITestControl, attributes->guid));
  info->ReleaseTypeAttr(attributes);

  LPOLESTR names[] = {const_cast<LPOLESTR>(L"Count"), const_cast<LPOLESTR>(L"Index")};
  DISPID ids[2] = {};
  ASSERT_EQ(S_OK, dispatch->GetIDsOfNames(IID_NULL, names, 2, 0, ids));
  EXPECT_EQ(4, ids[0]);
  EXPECT_EQ(0, ids[1]);
  LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"Nothing")};
  EXPECT_EQ(DISP_E_UNKNOWNNAME, dispatch->GetIDsOfNames(IID_NULL, unknown, 1, 0, ids));
  EXPECT_EQ(DISP_E_UNKNOWNINTERFACE, dispatch->GetIDsOfNames(IID_IDispatch, names, 1, 0, ids));
}

HRESULT PutCaption(IDispatch* dispatch, const wchar_t* text, WORD flags) {
  Bstr value(text);
  VARIANTARG argument;
  V_VT(&argument) = VT_BSTR;
  V_BSTR(&argument) = value.Get();
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{&argument, &named, 1, 1};
  return dispatch->Invoke(1, IID_NULL, 0, flags, &parameters, nullptr, nullptr, nullptr);
}

std::wstring GetCaption(IDispatch* dispatch) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(S_OK, dispatch->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr));
  std::wstring text = V_VT(&result) == VT_BSTR ? TextOf(V_BSTR(&result)) : L"<wrong type>";
  VariantClear(&result);
  return text;
}

TEST_F(ControlObjectTest, InvokeReachesTheMembersAndTreatsAByReferencePutAsAPut) {
  ComPtr<IDispatch> dispatch = As<IDispatch>(IID_IDispatch);
  ASSERT_EQ(S_OK, PutCaption(dispatch.Get(), L"Çağrı ışık", DISPATCH_PROPERTYPUT));
  EXPECT_EQ(L"Çağrı ışık", GetCaption(dispatch.Get()));
  ASSERT_EQ(S_OK, PutCaption(dispatch.Get(), L"by reference", DISPATCH_PROPERTYPUTREF));
  EXPECT_EQ(L"by reference", GetCaption(dispatch.Get()));

  VARIANTARG index;
  V_VT(&index) = VT_I4;
  V_I4(&index) = 21;
  DISPPARAMS parameters{&index, nullptr, 1, 0};
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(S_OK, dispatch->Invoke(4, IID_NULL, 0, DISPATCH_PROPERTYGET, &parameters, &result, nullptr, nullptr));
  EXPECT_EQ(VT_I4, V_VT(&result));
  EXPECT_EQ(42, V_I4(&result));

  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, dispatch->Invoke(99, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
  EXPECT_EQ(DISP_E_UNKNOWNINTERFACE, dispatch->Invoke(1, IID_IUnknown, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr));
}

TEST_F(ControlObjectTest, AFailingMemberReturnsItsCodeAndPostsErrorInformation) {
  ComPtr<ITestControl> control = As<ITestControl>(IID_ITestControl);
  Bstr message(L"Aygıt yanıt vermiyor");
  EXPECT_EQ(E_ACCESSDENIED, control->Fail(message.Get()));
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(S_OK, GetErrorInfo(0, info.Put()));
  Bstr description, source;
  GUID guid{};
  info->GetDescription(description.Put());
  info->GetSource(source.Put());
  info->GetGUID(&guid);
  EXPECT_EQ(L"Aygıt yanıt vermiyor", description.Text());
  EXPECT_EQ(L"ActiveXTestLib.TestControl", source.Text());
  EXPECT_TRUE(IsEqualGUID(IID_ITestControl, guid));

  EXPECT_EQ(E_UNEXPECTED, control->Fail(nullptr));  // a failure without a system code
  ComPtr<ISupportErrorInfo> support = As<ISupportErrorInfo>(IID_ISupportErrorInfo);
  EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(IID_ITestControl));
  EXPECT_EQ(S_FALSE, support->InterfaceSupportsErrorInfo(IID_IOleObject));
}

TEST_F(ControlObjectTest, ProvidesClassInformationAndTheDefaultSourceInterface) {
  ComPtr<IProvideClassInfo2> provide = As<IProvideClassInfo2>(IID_IProvideClassInfo2);
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(S_OK, provide->GetClassInfo(info.Put()));
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
  EXPECT_EQ(TKIND_COCLASS, attributes->typekind);
  EXPECT_TRUE(IsEqualCLSID(CLSID_TestControl, attributes->guid));
  info->ReleaseTypeAttr(attributes);

  GUID guid{};
  EXPECT_EQ(S_OK, provide->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &guid));
  EXPECT_TRUE(IsEqualIID(DIID_ITestControlEvents, guid));
  EXPECT_EQ(E_INVALIDARG, provide->GetGUID(7, &guid));
  EXPECT_EQ(E_POINTER, provide->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, nullptr));
  EXPECT_EQ(E_POINTER, provide->GetClassInfo(nullptr));
}

TEST_F(ControlObjectTest, ObjectSafetyReportsAndStoresTheTwoSafeOptions) {
  ComPtr<IObjectSafety> safety = As<IObjectSafety>(IID_IObjectSafety);
  DWORD supported = 99, enabled = 99;
  EXPECT_EQ(E_POINTER, safety->GetInterfaceSafetyOptions(IID_IDispatch, nullptr, &enabled));
  EXPECT_EQ(E_POINTER, safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, nullptr));
  ASSERT_EQ(S_OK, safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled));
  EXPECT_EQ(3u, supported);
  EXPECT_EQ(0u, enabled);

  EXPECT_EQ(E_NOINTERFACE, safety->GetInterfaceSafetyOptions(IID_IPersistStream, &supported, &enabled));
  EXPECT_EQ(0u, supported);
  EXPECT_EQ(0u, enabled);
  EXPECT_EQ(E_NOINTERFACE, safety->SetInterfaceSafetyOptions(IID_IPersistStream, 3, 3));

  EXPECT_EQ(S_OK, safety->SetInterfaceSafetyOptions(IID_IDispatch, INTERFACESAFE_FOR_UNTRUSTED_CALLER | 0x10,
                                                    INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA | 0x10));
  safety->GetInterfaceSafetyOptions(IID_IPersistPropertyBag, &supported, &enabled);
  EXPECT_EQ(static_cast<DWORD>(INTERFACESAFE_FOR_UNTRUSTED_CALLER), enabled);
}

TEST_F(ControlObjectTest, PersistenceAndClassIdentifiers) {
  ComPtr<IPersistStreamInit> stream = As<IPersistStreamInit>(IID_IPersistStreamInit);
  CLSID clsid{};
  EXPECT_EQ(S_OK, stream->GetClassID(&clsid));
  EXPECT_TRUE(IsEqualCLSID(CLSID_TestControl, clsid));
  EXPECT_EQ(S_OK, stream->InitNew());
  EXPECT_EQ(S_FALSE, stream->IsDirty());
  ComPtr<IPersistPropertyBag> bag = As<IPersistPropertyBag>(IID_IPersistPropertyBag);
  EXPECT_EQ(S_OK, bag->InitNew());
  EXPECT_EQ(E_POINTER, bag->Load(nullptr, nullptr));
  ComPtr<IOleObject> ole = As<IOleObject>(IID_IOleObject);
  EXPECT_EQ(S_OK, ole->GetUserClassID(&clsid));
  EXPECT_TRUE(IsEqualCLSID(CLSID_TestControl, clsid));
  DWORD status = 0;
  EXPECT_EQ(S_OK, ole->GetMiscStatus(DVASPECT_CONTENT, &status));
  EXPECT_EQ(kTestMiscStatus, status);
}

TEST(ControlLifetime, EachControlCountsAsALiveObjectUntilItsFinalRelease) {
  ASSERT_EQ(S_OK, OleInitialize(nullptr));
  EXPECT_EQ(S_OK, CanUnloadNow());
  TestControl* first = TestControl::Create();
  TestControl* second = TestControl::Create();
  EXPECT_EQ(2, LiveObjects());
  EXPECT_EQ(S_FALSE, CanUnloadNow());
  EXPECT_EQ(2u, first->AddRef());
  EXPECT_EQ(1u, first->Release());
  EXPECT_EQ(0u, first->Release());
  EXPECT_EQ(1, LiveObjects());
  EXPECT_EQ(0u, static_cast<IOleObject*>(second)->Release());
  EXPECT_EQ(S_OK, CanUnloadNow());
  OleUninitialize();
}

}  // namespace
}  // namespace activex::test
