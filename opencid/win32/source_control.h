// The device control over an open caller-ID source: the device control's interface, the
// source in force read when it is created, a worker thread that keeps the source open, and the
// calls raised as OnCallerID on the thread that created the control. Signal levels are not
// measured by these sources: every line reports 0. The console tool's "status" reaches it
// through the same hidden device window as the simulated devices.
#pragma once

#include <memory>
#include <optional>

#include "device/win32/tevrin5_base.h"
#include "open_source_device.h"
#include "opencid/modem_block.h"
#include "opencid/ncid_session.h"
#include "opencid/source_setting.h"
#include "opencid/win32/source_settings.h"
#include "opencid/win32/source_worker.h"

namespace opencid {

class SourceControl final : public device::Tevrin5Base {
 public:
  static IUnknown* Create();

  HRESULT STDMETHODCALLTYPE get_Plugged(VARIANT_BOOL* value) override;
  HRESULT STDMETHODCALLTYPE get_Model(BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_Serial(BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_CommandCount(LONG* value) override;
  HRESULT STDMETHODCALLTYPE Start() override;
  HRESULT STDMETHODCALLTYPE get_Started(VARIANT_BOOL* value) override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Command(BSTR text, BSTR* result) override;

 private:
  explicit SourceControl(EffectiveSource source);
  ~SourceControl() override;

  bool Lit() const override { return connected_; }
  std::optional<LRESULT> LinkMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void TakeReports();
  void Take(const SourceReport& report);
  void SetConnected(bool connected);
  void SaveLineNumbers();
  std::wstring Model() const { return connected_ ? model_ : std::wstring(); }
  std::wstring Status() const;

  const SourceSetting source_;
  const SourceScope scope_;
  std::string savedLines_;
  NcidSession session_;
  ModemBlock block_;
  bool connected_ = false;
  std::wstring model_;
  std::wstring reason_;
  long commandCount_ = 0;
  std::unique_ptr<activex::MessageWindow> link_;
  std::unique_ptr<SourceWorker> worker_;
  unsigned run_ = 0;  // counts stops: reports taken before one are not raised after it
};

}  // namespace opencid
