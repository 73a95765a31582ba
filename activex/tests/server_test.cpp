// The server module: class factory answers, aggregation refused, counts and DllCanUnloadNow.
#include "activex/class_factory.h"
#include "activex/com_ptr.h"
#include "activex/server_module.h"
#include "com_test.h"
#include "common/error.h"
#include "test_control.h"

namespace activex::test {
namespace {

int failuresReported = 0;

const ClassEntry kTestClass{CLSID_TestControl, [] { return static_cast<IUnknown*>(static_cast<IOleObject*>(TestControl::Create())); }};
const ClassEntry kFailingClass{IID_ITestControl, []() -> IUnknown* { throw std::runtime_error("cannot"); },
                               [](const std::exception_ptr&) { ++failuresReported; }};
ClassFactory testFactory(kTestClass);
ClassFactory failingFactory(kFailingClass);
ClassFactory* const kFactories[] = {&testFactory, &failingFactory};

using ServerTest = ComTest;

ComPtr<IClassFactory> Factory(REFCLSID clsid) {
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(S_OK, GetClassObject(kFactories, clsid, IID_IClassFactory, factory.PutVoid()));
  return factory;
}

TEST_F(ServerTest, GetClassObjectFindsTheClassOrAnswersClassNotAvailable) {
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, GetClassObject(kFactories, IID_IDispatch, IID_IClassFactory, &out));
  EXPECT_EQ(nullptr, out);
  out = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, GetClassObject(kFactories, CLSID_TestControl, IID_IDispatch, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(S_OK, CanUnloadNow());
}

TEST_F(ServerTest, CreateInstanceChecksItsArgumentsExactly) {
  ComPtr<IClassFactory> factory = Factory(CLSID_TestControl);
  EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IUnknown, nullptr));
  void* out = reinterpret_cast<void*>(1);
  IUnknown* outer = factory.Get();
  EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer, IID_IDispatch, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer, IID_IUnknown, &out));
  EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IPersistStream, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(0, LiveObjects());  // the refused object is gone
}

TEST_F(ServerTest, ACreationFailureIsReportedAndAnswersUnexpected) {
  failuresReported = 0;
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_UNEXPECTED, Factory(IID_ITestControl)->CreateInstance(nullptr, IID_IUnknown, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(1, failuresReported);
}

TEST_F(ServerTest, CanUnloadOnlyWhenNoObjectFactoryReferenceOrLockRemains) {
  EXPECT_EQ(S_OK, CanUnloadNow());
  ComPtr<IClassFactory> factory = Factory(CLSID_TestControl);
  EXPECT_EQ(S_FALSE, CanUnloadNow());
  ComPtr<IDispatch> control;
  ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, control.PutVoid()));
  EXPECT_EQ(S_OK, factory->LockServer(TRUE));
  factory.Reset();
  EXPECT_EQ(S_FALSE, CanUnloadNow());
  EXPECT_EQ(1, FactoryReferences());  // the lock's external reference
  EXPECT_EQ(0u, control.Detach()->Release());
  EXPECT_EQ(S_FALSE, CanUnloadNow());
  Factory(CLSID_TestControl)->LockServer(FALSE);
  EXPECT_EQ(0, LiveObjects());
  EXPECT_EQ(0, FactoryReferences());
  EXPECT_EQ(S_OK, CanUnloadNow());
}

TEST_F(ServerTest, TheModuleKnowsItsFileAndItsTypeLibrary) {
  std::wstring path = ModulePath();
  EXPECT_NE(std::wstring::npos, path.find(L"activex_test.exe"));
  EXPECT_EQ(path.substr(0, path.size() - std::wstring(L"\\activex_test.exe").size()), ModuleFolder());
  ComPtr<ITypeInfo> info = ModuleTypeInfo(DIID_ITestControlEvents);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
  EXPECT_EQ(TKIND_DISPATCH, attributes->typekind);
  info->ReleaseTypeAttr(attributes);
  EXPECT_THROW(ModuleTypeInfo(IID_IOleObject), common::Error);
}

}  // namespace
}  // namespace activex::test
