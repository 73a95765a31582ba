// Connection points: one event sink at a time, many property sinks, cookies, exact HRESULTs,
// and events arriving as automation expects them.
#include <olectl.h>

#include "activex/bstr.h"
#include "activex/com_ptr.h"
#include "com_test.h"
#include "fakes.h"
#include "test_control.h"

namespace activex::test {
namespace {

class ConnectionPointTest : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    control_ = TestControl::Create();
    container_ = ComPtr<IConnectionPointContainer>(control_);
  }
  void TearDown() override {
    container_.Reset();
    EXPECT_EQ(0u, control_->Release());
    ComTest::TearDown();
  }
  ComPtr<IConnectionPoint> Point(REFIID iid) {
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(S_OK, container_->FindConnectionPoint(iid, point.Put()));
    return point;
  }
  void Say(const wchar_t* text, const wchar_t* more) {
    Bstr a(text), b(more);
    EXPECT_EQ(S_OK, control_->Say(a.Get(), b.Get()));
  }

  TestControl* control_ = nullptr;
  ComPtr<IConnectionPointContainer> container_;
};

TEST_F(ConnectionPointTest, FindsTheEventAndPropertyPointsOnly) {
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(CONNECT_E_NOCONNECTION, container_->FindConnectionPoint(IID_IDispatch, point.Put()));
  EXPECT_FALSE(point);
  EXPECT_EQ(E_POINTER, container_->FindConnectionPoint(DIID_ITestControlEvents, nullptr));

  IID iid{};
  EXPECT_EQ(S_OK, Point(DIID_ITestControlEvents)->GetConnectionInterface(&iid));
  EXPECT_TRUE(IsEqualIID(DIID_ITestControlEvents, iid));
  ComPtr<IConnectionPointContainer> back;
  EXPECT_EQ(S_OK, Point(IID_IPropertyNotifySink)->GetConnectionPointContainer(back.Put()));
  EXPECT_EQ(container_.Get(), back.Get());

  ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(S_OK, container_->EnumConnectionPoints(points.Put()));
  IConnectionPoint* found[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(S_FALSE, points->Next(3, found, &fetched));
  ASSERT_EQ(2u, fetched);
  found[0]->GetConnectionInterface(&iid);
  EXPECT_TRUE(IsEqualIID(DIID_ITestControlEvents, iid));
  found[1]->GetConnectionInterface(&iid);
  EXPECT_TRUE(IsEqualIID(IID_IPropertyNotifySink, iid));
  found[0]->Release();
  found[1]->Release();
}

TEST_F(ConnectionPointTest, TheEventPointTakesOneSinkAtATime) {
  ComPtr<IConnectionPoint> point = Point(DIID_ITestControlEvents);
  FakeSink first(DIID_ITestControlEvents), second(DIID_ITestControlEvents);
  DWORD cookie = 0, other = 0;
  ASSERT_EQ(S_OK, point->Advise(&first, &cookie));
  EXPECT_EQ(1u, cookie);
  EXPECT_EQ(CONNECT_E_CANNOTCONNECT, point->Advise(&second, &other));
  EXPECT_EQ(0u, second.references.Count());
  EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(2));
  EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(0));
  EXPECT_EQ(S_OK, point->Unadvise(cookie));
  EXPECT_EQ(0u, first.references.Count());
  EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(cookie));
  ASSERT_EQ(S_OK, point->Advise(&second, &other));
  EXPECT_EQ(1u, other);
  EXPECT_EQ(3, control_->sinkChanges);
  EXPECT_EQ(S_OK, point->Unadvise(other));
}

TEST_F(ConnectionPointTest, ASinkMustAnswerTheEventInterface) {
  ComPtr<IConnectionPoint> point = Point(DIID_ITestControlEvents);
  PlainObject plain;
  FakeSink wrongEvents(IID_ITestControl);
  DWORD cookie = 7;
  EXPECT_EQ(CONNECT_E_CANNOTCONNECT, point->Advise(&plain, &cookie));
  EXPECT_EQ(0u, cookie);
  EXPECT_EQ(CONNECT_E_CANNOTCONNECT, point->Advise(&wrongEvents, &cookie));
  EXPECT_EQ(E_POINTER, point->Advise(nullptr, &cookie));
  EXPECT_EQ(0, control_->sinkChanges);
}

TEST_F(ConnectionPointTest, EventsReachTheSinkAsAutomationMethodCallsWithTextArguments) {
  ComPtr<IConnectionPoint> point = Point(DIID_ITestControlEvents);
  FakeSink sink(DIID_ITestControlEvents, E_FAIL);  // a failing handler changes nothing
  DWORD cookie = 0;
  Say(L"nobody listens", L"");
  ASSERT_EQ(S_OK, point->Advise(&sink, &cookie));
  Say(L"first", L"İstanbul şöğüç");
  Say(L"", L"second");
  ASSERT_EQ(2u, sink.events.size());
  EXPECT_EQ(10, sink.events[0].id);
  EXPECT_EQ(DISPATCH_METHOD, sink.events[0].flags);
  EXPECT_FALSE(sink.events[0].resultRequested);
  EXPECT_EQ((std::vector<std::wstring>{L"first", L"İstanbul şöğüç"}), sink.events[0].arguments);
  EXPECT_EQ((std::vector<std::wstring>{L"", L"second"}), sink.events[1].arguments);

  ComPtr<IOleControl> control(static_cast<IOleControl*>(control_));
  control->FreezeEvents(TRUE);
  Say(L"frozen", L"");
  control->FreezeEvents(FALSE);
  EXPECT_EQ(2u, sink.events.size());
  EXPECT_EQ(S_OK, point->Unadvise(cookie));
}

TEST_F(ConnectionPointTest, ThePropertyPointTakesManySinksAndReusesFreedCookies) {
  ComPtr<IConnectionPoint> point = Point(IID_IPropertyNotifySink);
  FakePropertySink a, b, c;
  DWORD cookieA = 0, cookieB = 0, cookieC = 0;
  ASSERT_EQ(S_OK, point->Advise(&a, &cookieA));
  ASSERT_EQ(S_OK, point->Advise(&b, &cookieB));
  EXPECT_EQ(1u, cookieA);
  EXPECT_EQ(2u, cookieB);
  control_->NotifyPropertyChanged(1);
  EXPECT_EQ(std::vector<DISPID>{1}, a.changed);
  EXPECT_EQ(std::vector<DISPID>{1}, b.changed);

  ComPtr<IEnumConnections> connections;
  ASSERT_EQ(S_OK, point->EnumConnections(connections.Put()));
  CONNECTDATA data[2]{};
  ULONG fetched = 0;
  ASSERT_EQ(S_OK, connections->Next(2, data, &fetched));
  EXPECT_EQ(1u, data[0].dwCookie);
  EXPECT_EQ(2u, data[1].dwCookie);
  data[0].pUnk->Release();
  data[1].pUnk->Release();
  connections.Reset();

  EXPECT_EQ(S_OK, point->Unadvise(cookieA));
  ASSERT_EQ(S_OK, point->Advise(&c, &cookieC));
  EXPECT_EQ(1u, cookieC);
  EXPECT_EQ(S_OK, point->Unadvise(cookieB));
  EXPECT_EQ(S_OK, point->Unadvise(cookieC));
  EXPECT_EQ(0u, a.references.Count() + b.references.Count() + c.references.Count());
}

TEST_F(ConnectionPointTest, SinksStillConnectedAtTheFinalReleaseAreReleased) {
  FakeSink sink(DIID_ITestControlEvents);
  FakePropertySink property;
  DWORD cookie = 0;
  Point(DIID_ITestControlEvents)->Advise(&sink, &cookie);
  Point(IID_IPropertyNotifySink)->Advise(&property, &cookie);
  container_.Reset();
  EXPECT_EQ(0u, control_->Release());
  control_ = TestControl::Create();  // for TearDown
  EXPECT_EQ(0u, sink.references.Count());
  EXPECT_EQ(0u, property.references.Count());
}

}  // namespace
}  // namespace activex::test
