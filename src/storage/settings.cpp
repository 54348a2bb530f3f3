// The settings (reading and writing them comes with the storage work; until
// then the settings keep their initial values).
#include "storage/settings.h"

Settings g_settings = {0, 0, 0, kDefaultPort, ""};

void LoadSettings() {}
void SaveSettings() {}
