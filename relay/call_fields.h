// A call as the device control raised it, made into the fields of an NCID call line: the
// texts in UTF-8 (ill-formed UTF-16 becomes U+FFFD), control characters as blanks, the
// field separator '*' as U+2217 (which looks the same), each field cut at a bound on a
// character's edge so that a whole line stays within what clients read, and the device's
// "dd.MM.yy HH:mm" as DATE mmddyyyy and TIME hhmm (another form gives way to the clock).
#pragma once

#include "device/simulated_device.h"
#include "opencid/call_time.h"
#include "opencid/ncid_line.h"

namespace relay {

inline constexpr std::size_t kMaxLineLabelBytes = 64;
inline constexpr std::size_t kMaxNumberBytes = 128;
inline constexpr std::size_t kMaxNameBytes = 512;

opencid::CallFields FieldsOfDeviceCall(const device::CallerId& call, const opencid::LocalTime& now);

}  // namespace relay
