// The list of the services this module exports by ordinal.
#include "services/services.h"

namespace refhost {

const ExportedService kExportedServices[] = {
#define REFHOST_EXPORTED(ordinal, name, result, convention, parameters) \
    {ordinal, reinterpret_cast<void*>(&ordinal_##ordinal)},
    HOST_IMPORTS(REFHOST_EXPORTED)
#undef REFHOST_EXPORTED
    {30006, reinterpret_cast<void*>(&ordinal_30006)},
};
const int kExportedServiceCount = sizeof kExportedServices / sizeof kExportedServices[0];

}  // namespace refhost
