// TForm1's accessible object in the window's own process: one object for the window, handed to
// every client that asks; a child number it does not have is refused; when the window goes
// the object is cut off, a client that kept it is told so, and the last reference is the
// client's own.
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include "grid/win32/window_accessible.h"

#include "monitor/win32/tests/test_parts.h"

namespace monitor::win32::testing {
namespace {

using grid::win32::NumberVariant;

struct OleApartment {
  OleApartment() { OleInitialize(nullptr); }
  ~OleApartment() { OleUninitialize(); }
};

IAccessible* Request(HWND window) {
  IAccessible* object = nullptr;
  AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                             reinterpret_cast<void**>(&object));
  return object;
}

TEST(TForm1Accessible, OneObjectForTheWindowsLifeCutOffWhenTheWindowGoes) {
  OleApartment apartment;
  TestParts parts;
  auto form = std::make_unique<TForm1>(parts, parts.application);
  IAccessible* first = Request(form->Handle());
  IAccessible* second = Request(form->Handle());
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(second, first);

  BSTR name = nullptr;
  EXPECT_EQ(first->get_accName(NumberVariant(CHILDID_SELF), &name), S_OK);
  EXPECT_STREQ(name, L"TEST");
  SysFreeString(name);
  long count = 0;
  EXPECT_EQ(first->get_accChildCount(&count), S_OK);
  name = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(first->get_accName(NumberVariant(count + 1), &name), E_INVALIDARG);
  EXPECT_EQ(name, nullptr);
  VARIANT notANumber;
  VariantInit(&notANumber);
  notANumber.vt = VT_BSTR;
  notANumber.bstrVal = nullptr;
  EXPECT_EQ(first->get_accName(notANumber, &name), E_INVALIDARG);

  form.reset();
  EXPECT_EQ(first->get_accName(NumberVariant(1), &name), RPC_E_DISCONNECTED);
  EXPECT_EQ(first->get_accChildCount(&count), RPC_E_DISCONNECTED);
  // The two requests hold two references to the one object, and nothing else holds any.
  EXPECT_EQ(first->Release(), 1u);
  EXPECT_EQ(first->Release(), 0u);
}

}  // namespace
}  // namespace monitor::win32::testing
