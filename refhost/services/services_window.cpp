// The window services: running a modal window (52026) and what a window
// procedure asks of the window on top: data exchange (52040), display
// texts (52056), the timer (52251), redraw (52034), rectangles (52043 to
// 52046) and the file chooser (51704).
#include <cstring>

#include "plumbing/host.h"
#include "plumbing/host_lock.h"
#include "services/services.h"
#include "window/window_runner.h"

using namespace refhost;

namespace {

constexpr int kCollect = 1;
constexpr int kShow = 0;

RunningWindow* WindowFor(unsigned ordinal) {
    RunningWindow* window = CurrentWindow();
    if (!window) Trace(ordinal, "%s", "no window is open: nothing done");
    return window;
}

Rectangle FromValues(const int16_t* values) { return {values[0], values[1], values[2], values[3]}; }

void ToValues(const Rectangle& rectangle, int16_t* values) {
    values[0] = rectangle.x;
    values[1] = rectangle.y;
    values[2] = rectangle.width;
    values[3] = rectangle.height;
}

}  // namespace

extern "C" {

int HOSTVA ordinal_52026(const void* description, int id, void* data, WindowProcedure procedure) {
    HostLockScope held(52026);
    uint32_t length = 0;
    if (description) std::memcpy(&length, description, sizeof length);
    Trace(52026, "%s (%u bytes), %d, %s, %s", TraceAddress(description).c_str(), static_cast<unsigned>(length), id,
          TraceAddress(data).c_str(), TraceAddress(reinterpret_cast<void*>(procedure)).c_str());
    int closedBy = RunModalWindow(description, data, procedure);
    Trace(52026, "-> 0x%04X", static_cast<unsigned>(closedBy));
    return closedBy;
}

int HOSTAPI ordinal_52040(void* record, int direction) {
    HostLockScope held(52040);
    Trace(52040, "%s, %d", TraceAddress(record).c_str(), direction);
    RunningWindow* window = WindowFor(52040);
    if (!window || !record) return -1;
    if (direction == kCollect) window->CollectRecord(record);
    if (direction == kShow) window->ShowRecord(record);
    return 0;
}

int HOSTAPI ordinal_52056(int id, const char* text) {
    HostLockScope held(52056);
    Trace(52056, "0x%04X, \"%s\"", static_cast<unsigned>(id), text ? text : "");
    RunningWindow* window = WindowFor(52056);
    if (!window) return -1;
    if (window->ShowText(static_cast<uint16_t>(id), text ? text : "")) return 0;
    PrintLine(window->Label() + " has no display field " + std::to_string(id) + " to show a text in");
    return -1;
}

int HOSTAPI ordinal_52251(int interval) {
    HostLockScope held(52251);
    Trace(52251, "%d", interval);
    RunningWindow* window = WindowFor(52251);
    if (!window) return -1;
    window->SetTimer(interval);
    return 0;
}

// Without a screen there is nothing to draw again.
int HOSTAPI ordinal_52034(int what, int flags, int count) {
    HostLockScope held(52034);
    Trace(52034, "%d, 0x%X, %d", what, static_cast<unsigned>(flags), count);
    return 0;
}

int HOSTAPI ordinal_52043(int id, int16_t* rect) {
    HostLockScope held(52043);
    RunningWindow* window = WindowFor(52043);
    std::optional<Rectangle> rectangle = window ? window->ControlRectangle(static_cast<uint16_t>(id)) : std::nullopt;
    if (!rect || !rectangle) {
        Trace(52043, "0x%04X, %s: no such control", static_cast<unsigned>(id), TraceAddress(rect).c_str());
        return -1;
    }
    ToValues(*rectangle, rect);
    Trace(52043, "0x%04X, %s -> %d, %d, %d, %d", static_cast<unsigned>(id), TraceAddress(rect).c_str(), rect[0],
          rect[1], rect[2], rect[3]);
    return 0;
}

int HOSTAPI ordinal_52044(int id, int16_t* rect) {
    HostLockScope held(52044);
    Trace(52044, "0x%04X, %s = %d, %d, %d, %d", static_cast<unsigned>(id), TraceAddress(rect).c_str(),
          rect ? rect[0] : 0, rect ? rect[1] : 0, rect ? rect[2] : 0, rect ? rect[3] : 0);
    RunningWindow* window = WindowFor(52044);
    if (!window || !rect) return -1;
    return window->SetControlRectangle(static_cast<uint16_t>(id), FromValues(rect)) ? 0 : -1;
}

int HOSTAPI ordinal_52045(int16_t* rect) {
    HostLockScope held(52045);
    RunningWindow* window = WindowFor(52045);
    if (!window || !rect) return -1;
    ToValues(window->WindowRectangle(), rect);
    Trace(52045, "%s -> %d, %d, %d, %d", TraceAddress(rect).c_str(), rect[0], rect[1], rect[2], rect[3]);
    return 0;
}

int HOSTAPI ordinal_52046(int16_t* rect) {
    HostLockScope held(52046);
    Trace(52046, "%s = %d, %d, %d, %d", TraceAddress(rect).c_str(), rect ? rect[0] : 0, rect ? rect[1] : 0,
          rect ? rect[2] : 0, rect ? rect[3] : 0);
    RunningWindow* window = WindowFor(52046);
    if (!window || !rect) return -1;
    window->SetWindowRectangle(FromValues(rect));
    return 0;
}

// The chosen path replaces the text in path. A path that does not fit the
// capacity is not cut into another path: the choice then fails as a cancel.
int HOSTAPI ordinal_51704(int first, char* path, const char* mask, int capacity, int fifth, int sixth, int seventh) {
    HostLockScope held(51704);
    Trace(51704, "%d, \"%s\", \"%s\", %d, %d, %d, %d", first, path ? path : "", mask ? mask : "", capacity, fifth,
          sixth, seventh);
    PrintLine("file chooser (" + std::string(mask ? mask : "") + ") opened on \"" + Readable(path ? path : "") + "\"");
    WindowUser* user = CurrentWindowUser();
    std::optional<std::string> chosen;
    if (user) {
        HostLockReleased whileTheUserChooses;
        chosen = user->ChooseFileStartingAt(mask ? mask : "", path ? path : "");
    }
    if (!chosen) {
        PrintLine("file chooser: cancelled");
        return -1;
    }
    if (!path || capacity <= 0 || chosen->size() >= static_cast<std::size_t>(capacity)) {
        PrintLine("file chooser: \"" + Readable(*chosen) + "\" does not fit the " + std::to_string(capacity) +
                  "-byte field; nothing is chosen");
        return -1;
    }
    std::memcpy(path, chosen->c_str(), chosen->size() + 1);
    PrintLine("file chooser: chose \"" + Readable(*chosen) + "\"");
    return 0;
}

}  // extern "C"
