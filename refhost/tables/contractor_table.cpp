// Keys in the contractor table. The host calls the table handler with
// eleven 32-bit arguments: the key code first, then the table number and
// the row, six arguments the plug-in does not read (0 here), the column as
// the tenth and a last 0.
#include "tables/contractor_table.h"

#include "plumbing/host.h"
#include "plumbing/host_lock.h"
#include "services/host_tables.h"
#include "window/window_keys.h"

namespace refhost {

std::optional<int> PressTableKey(uint16_t key, int column, int row, std::string& error) {
    TableHandler handler = ContractorTableHandler();
    if (!handler) {
        error = "the host has no contractor table (table 35)";
        return std::nullopt;
    }
    PrintLine("table 35 \"k4\": key " + KeyName(key) + " in column " + std::to_string(column) + ", row " +
              std::to_string(row));
    TraceCallIn("table 35 handler %d, %d, %d, 0, 0, 0, 0, 0, 0, %d, 0", key, kContractorTableNumber, row, column);
    int result;
    {
        HostLockScope held;
        result = handler(key, kContractorTableNumber, row, 0, 0, 0, 0, 0, 0, column, 0);
    }
    TraceCallIn("table 35 handler -> %d", result);
    PrintLine("table 35 \"k4\": the handler returned " + std::to_string(result));
    return result;
}

}  // namespace refhost
