#pragma once

// A loopback TCP port no one listens on now, as the system hands one out for port 0.
int FreeLoopbackPort();
