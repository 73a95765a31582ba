// A serial port with a caller-ID modem on it.
#pragma once

#include <memory>
#include <string>

#include "opencid/win32/source_link.h"

namespace opencid {

std::unique_ptr<SourceLink> OpenSerialLink(const std::wstring& portName);

}  // namespace opencid
