// The caller-ID window.
#pragma once

void UDPSetup();
