// One enumerator template for both kinds: items are copied out with a reference added.
#include "activex/enumerator.h"

#include <new>

namespace activex {
namespace {

void CopyOut(const Connection& from, CONNECTDATA* to) {
  to->pUnk = from.sink.Get();
  to->pUnk->AddRef();
  to->dwCookie = from.cookie;
}

void CopyOut(const ComPtr<IConnectionPoint>& from, IConnectionPoint** to) {
  *to = from.Get();
  (*to)->AddRef();
}

template <class Interface, class Item, class Stored>
class Enumerator final : public Interface {
 public:
  Enumerator(std::vector<Stored> items, std::size_t position) : items_(std::move(items)), position_(position) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface))) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* out, ULONG* fetched) override {
    if (!out || (count > 1 && !fetched)) return E_POINTER;
    ULONG copied = 0;
    for (; copied < count && position_ < items_.size(); ++copied) CopyOut(items_[position_++], &out[copied]);
    if (fetched) *fetched = copied;
    return copied == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    std::size_t left = items_.size() - position_;
    position_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(Interface** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    try {
      *out = new Enumerator(items_, position_);  // copying the items may fail as well
      return S_OK;
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
  }

 private:
  std::vector<Stored> items_;
  std::size_t position_;
  LONG references_ = 1;
};

}  // namespace

ComPtr<IEnumConnections> MakeConnectionEnumerator(std::vector<Connection> connections) {
  return ComPtr<IEnumConnections>::Attach(
      new Enumerator<IEnumConnections, CONNECTDATA, Connection>(std::move(connections), 0));
}

ComPtr<IEnumConnectionPoints> MakeConnectionPointEnumerator(std::vector<ComPtr<IConnectionPoint>> points) {
  return ComPtr<IEnumConnectionPoints>::Attach(
      new Enumerator<IEnumConnectionPoints, IConnectionPoint*, ComPtr<IConnectionPoint>>(std::move(points), 0));
}

}  // namespace activex
