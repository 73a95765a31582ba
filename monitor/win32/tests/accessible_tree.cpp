// Walks an accessible tree the way a screen reader does.
#include "monitor/win32/tests/accessible_tree.h"

#include <oleacc.h>

#include "grid/win32/window_accessible.h"

namespace monitor::win32::testing {
namespace {

using grid::win32::NumberVariant;

AccessibleNode Read(IAccessible& object, long child, int depth) {
  AccessibleNode node{depth, 0, {}, {}};
  BSTR text = nullptr;
  if (object.get_accName(NumberVariant(child), &text) == S_OK && text) node.name = text;
  SysFreeString(text);
  text = nullptr;
  if (object.get_accValue(NumberVariant(child), &text) == S_OK && text) node.value = text;
  SysFreeString(text);
  VARIANT role;
  VariantInit(&role);
  if (object.get_accRole(NumberVariant(child), &role) == S_OK && role.vt == VT_I4) node.role = role.lVal;
  VariantClear(&role);
  return node;
}

void Walk(IAccessible& object, int depth, std::vector<AccessibleNode>& tree) {
  tree.push_back(Read(object, CHILDID_SELF, depth));
  long count = 0;
  if (FAILED(object.get_accChildCount(&count)) || count <= 0) return;
  std::vector<VARIANT> children(static_cast<std::size_t>(count));
  long got = 0;
  if (FAILED(AccessibleChildren(&object, 0, count, children.data(), &got))) return;
  for (long i = 0; i < got; ++i) {
    VARIANT& child = children[static_cast<std::size_t>(i)];
    IAccessible* inner = nullptr;
    if (child.vt == VT_DISPATCH && child.pdispVal &&
        SUCCEEDED(child.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&inner)))) {
      Walk(*inner, depth + 1, tree);
      inner->Release();
    } else if (child.vt == VT_I4) {
      tree.push_back(Read(object, child.lVal, depth + 1));
    }
    VariantClear(&child);
  }
}

}  // namespace

std::vector<AccessibleNode> AccessibleTreeOf(HWND window) {
  std::vector<AccessibleNode> tree;
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object))) ||
      !object)
    return tree;
  Walk(*object, 0, tree);
  object->Release();
  return tree;
}

}  // namespace monitor::win32::testing
