// A loopback TCP port for a server a test or benchmark starts.
#pragma once

namespace ordevo::testing {

// A port free now: the system's choice for a socket bound to port 0 on 127.0.0.1; 0 if none.
int FreeLoopbackPort();

}  // namespace ordevo::testing
