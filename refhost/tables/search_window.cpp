// The contractor search window. The host owns its description and its
// data record (the NIP typed); when the search button closes it, the host
// searches its contractors for that NIP.
#include "tables/search_window.h"

#include <cstring>
#include <vector>

#include "plumbing/host.h"
#include "services/host_tables.h"
#include "services/services.h"
#include "window/window_builder.h"
#include "window/window_runner.h"

namespace refhost {
namespace {

constexpr uint16_t kNipLength = 16;

const std::vector<uint8_t>& SearchWindowDescription() {
    static const std::vector<uint8_t> bytes =
        WindowDescriptionBuilder(kSearchWindowId, "Szukaj kontrahenta", {20, 8, 42, 5})
            .StaticText(0xFFFF, {2, 2, 4, 1}, "NIP:")
            .TextInput(kSearchNipInputId, 0x0440, {7, 2, 20, 1}, kNipLength)
            .Button(kSearchButtonId, 0, 'S', {29, 2, 10, 1}, "~S~zukaj")
            .Bytes();
    return bytes;
}

std::vector<char> g_searchRecord;

}  // namespace

int HOSTAPI SearchWindowOwnProcedure(int, int event) {
    RunningWindow* window = CurrentWindow();
    if (event == kEventCollect && window && !g_searchRecord.empty()) window->CollectRecord(g_searchRecord.data());
    return 0;
}

int OpenSearchWindow() {
    g_searchRecord.assign(kNipLength + 1, '\0');
    WindowProcedure procedure = HookedProcedure(kSearchWindowId);
    if (!procedure) procedure = &SearchWindowOwnProcedure;
    int closedBy = RunModalWindow(SearchWindowDescription().data(), g_searchRecord.data(), procedure);
    if (static_cast<uint16_t>(closedBy) == kSearchButtonId)
        PrintLine("search window: the host searches its contractors for NIP \"" +
                  Readable(std::string(g_searchRecord.data())) + "\"");
    return closedBy;
}

}  // namespace refhost
