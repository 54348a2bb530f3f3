// The caller-ID window (comes with the window work; until then the action
// opens nothing).
#include "ui/caller_id_window.h"

void UDPSetup() {}
