// What the settings window's choices mean: which source text a choice stores, in which scope,
// and who then answers as the device control. Kept apart from the window so it is checked
// without one.
#pragma once

#include <optional>
#include <string>

#include "opencid/source_setting.h"

namespace opencid {

enum class SourceChoice { VendorDevice, NcidServer, Modem, SimulatedDevice };

// Who is registered in the device control's place after saving.
enum class DeviceOwner { Unchanged, OpenCallerId, Vendor, Simulated };

// The window's fields as the user left them.
struct SourceForm {
  SourceChoice choice = SourceChoice::NcidServer;
  std::wstring host;
  std::wstring port;
  std::wstring portName;  // COMn
};

struct SavePlan {
  std::optional<SourceSetting> source;  // none for the devices, which read no source
  bool machineWide = false;
  DeviceOwner owner = DeviceOwner::Unchanged;
};

// Whether a choice changes the device control's registration, which only an elevated run may.
bool ChangesRegistration(SourceChoice choice);

// What saving does; `elevated` is whether the machine's setting and the registration can be
// written. Throws common::Error with a sentence for the user when a field is wrong or the
// choice needs elevation.
SavePlan PlanSave(const SourceForm& form, bool elevated);

// The window's fields for a stored source (the other choice's fields keep their defaults).
SourceForm FormFor(const SourceSetting& source);

// The sentence saying where the window saves.
std::wstring ScopeSentence(bool elevated);

}  // namespace opencid
