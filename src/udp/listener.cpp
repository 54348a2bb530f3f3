// The UDP listener (the receive loop comes with the UDP service; until then
// the start creates no socket and starts no thread).
#include "udp/listener.h"

int UDPOn() { return 1; }

void HOSTVA UDPoling(void*) {}
