// The control in a container: the order of the calls it makes on its site, its window in the
// site's window, hiding, moving, deactivation, drawing through IViewObject.
#include "activex/com_ptr.h"
#include "activex/message_window.h"
#include "com_test.h"
#include "fakes.h"
#include "test_control.h"

namespace activex::test {
namespace {

using Calls = std::vector<std::string>;

class InPlaceTest : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    // A hidden host: showing a top-level window costs seconds under Wine without a window manager.
    host_ = std::make_unique<MessageWindow>(L"ActiveXTestHost", WS_OVERLAPPEDWINDOW, nullptr,
                                            RECT{0, 0, 300, 200}, nullptr);
    site_ = std::make_unique<FakeSite>(host_->Handle());
    control_ = TestControl::Create();
    object_ = ComPtr<IOleObject>(static_cast<IOleObject*>(control_));
  }
  void TearDown() override {
    object_.Reset();
    EXPECT_EQ(0u, control_->Release());
    EXPECT_EQ(0u, site_->references.Count());
    host_.reset();
    ComTest::TearDown();
  }
  static bool Shown(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }
  HWND ControlWindow() {
    HWND window = nullptr;
    static_cast<IOleInPlaceObject*>(control_)->GetWindow(&window);
    return window;
  }

  std::unique_ptr<MessageWindow> host_;
  std::unique_ptr<FakeSite> site_;
  TestControl* control_ = nullptr;
  ComPtr<IOleObject> object_;
};

TEST_F(InPlaceTest, ActivatesInPlaceInTheSitesWindowInTheStandardOrder) {
  ASSERT_EQ(S_OK, object_->SetClientSite(site_.get()));
  HWND none = nullptr;
  EXPECT_EQ(E_FAIL, static_cast<IOleInPlaceObject*>(control_)->GetWindow(&none));
  ASSERT_EQ(S_OK, object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, host_->Handle(), nullptr));
  EXPECT_EQ((Calls{"CanInPlaceActivate", "OnInPlaceActivate", "GetWindow", "GetWindowContext", "ShowObject"}),
            site_->calls);

  HWND window = ControlWindow();
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(host_->Handle(), GetParent(window));
  EXPECT_TRUE(Shown(window));
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, host_->Handle(), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(10, rect.left);
  EXPECT_EQ(20, rect.top);
  EXPECT_EQ(100, rect.right - rect.left);
  EXPECT_EQ(50, rect.bottom - rect.top);

  EXPECT_EQ(S_OK, object_->DoVerb(OLEIVERB_HIDE, nullptr, site_.get(), 0, host_->Handle(), nullptr));
  EXPECT_FALSE(Shown(window));
  RECT moved{5, 6, 25, 36};
  EXPECT_EQ(S_OK, static_cast<IOleInPlaceObject*>(control_)->SetObjectRects(&moved, &moved));
  GetClientRect(window, &rect);
  EXPECT_EQ(20, rect.right);
  EXPECT_EQ(30, rect.bottom);

  site_->calls.clear();
  EXPECT_EQ(S_OK, object_->Close(OLECLOSE_NOSAVE));
  EXPECT_EQ(Calls{"OnInPlaceDeactivate"}, site_->calls);
  EXPECT_NE(host_->Handle(), GetParent(window));
  EXPECT_EQ(S_OK, object_->SetClientSite(nullptr));
}

TEST_F(InPlaceTest, UIActivationAndDeactivationAreReportedToTheSite) {
  object_->SetClientSite(site_.get());
  ASSERT_EQ(S_OK, object_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site_.get(), 0, host_->Handle(), nullptr));
  EXPECT_EQ("OnUIActivate", site_->calls[4]);
  site_->calls.clear();
  static_cast<IOleInPlaceObject*>(control_)->InPlaceDeactivate();
  EXPECT_EQ((Calls{"OnUIDeactivate", "OnInPlaceDeactivate"}), site_->calls);
  object_->SetClientSite(nullptr);
}

TEST_F(InPlaceTest, RefusesToActivateWithoutASiteOrWhenTheSiteSaysNo) {
  EXPECT_EQ(E_UNEXPECTED, object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, host_->Handle(), nullptr));
  site_->allowInPlace = false;
  object_->SetClientSite(site_.get());
  EXPECT_EQ(E_FAIL, object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, host_->Handle(), nullptr));
  EXPECT_EQ(Calls{"CanInPlaceActivate"}, site_->calls);
  EXPECT_EQ(E_NOTIMPL, object_->DoVerb(OLEIVERB_OPEN, nullptr, site_.get(), 0, host_->Handle(), nullptr));
  object_->SetClientSite(nullptr);
}

TEST_F(InPlaceTest, AnUnknownVerbActivatesAsThePrimaryVerb) {
  object_->SetClientSite(site_.get());
  EXPECT_EQ(OLEOBJ_S_INVALIDVERB, object_->DoVerb(7, nullptr, site_.get(), 0, host_->Handle(), nullptr));
  EXPECT_NE(nullptr, ControlWindow());
  object_->Close(OLECLOSE_NOSAVE);
  object_->SetClientSite(nullptr);
}

TEST_F(InPlaceTest, ReleasingAnActiveControlLeavesTheSiteUnreferenced) {
  object_->SetClientSite(site_.get());
  object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, host_->Handle(), nullptr);
  EXPECT_GT(site_->references.Count(), 0u);
}

TEST_F(InPlaceTest, DrawsItselfThroughTheViewObject) {
  ComPtr<IViewObject2> view(static_cast<IViewObject2*>(control_));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 60, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  PatBlt(dc, 0, 0, 60, 40, WHITENESS);
  RECTL bounds{10, 5, 50, 35};
  EXPECT_EQ(S_OK, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0));
  EXPECT_EQ(kTestControlColour, GetPixel(dc, 20, 10));
  EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 5, 2));
  EXPECT_EQ(DV_E_DVASPECT, view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0));
  EXPECT_EQ(E_INVALIDARG, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, nullptr, nullptr, nullptr, 0));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);

  SIZEL size{};
  EXPECT_EQ(S_OK, view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &size));
  EXPECT_GT(size.cx, 0);
  SIZEL set{2540, 1270};
  EXPECT_EQ(S_OK, object_->SetExtent(DVASPECT_CONTENT, &set));
  EXPECT_EQ(S_OK, object_->GetExtent(DVASPECT_CONTENT, &size));
  EXPECT_EQ(2540, size.cx);
  EXPECT_EQ(1270, size.cy);
  EXPECT_EQ(DV_E_DVASPECT, object_->GetExtent(DVASPECT_THUMBNAIL, &size));
}

}  // namespace
}  // namespace activex::test
