// IEnumConnections and IEnumConnectionPoints over a snapshot taken when the enumerator is made.
#pragma once

#include <ocidl.h>

#include <vector>

#include "activex/com_ptr.h"

namespace activex {

struct Connection {
  ComPtr<IUnknown> sink;
  DWORD cookie;
};

ComPtr<IEnumConnections> MakeConnectionEnumerator(std::vector<Connection> connections);
ComPtr<IEnumConnectionPoints> MakeConnectionPointEnumerator(std::vector<ComPtr<IConnectionPoint>> points);

}  // namespace activex
