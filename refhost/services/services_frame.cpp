// The services the plug-in frame relies on: the control entry, the message
// box and questions, the notice, the compatibility facts (interface level,
// date values, the table descriptor), the hook of window 0x73, the thread
// services and the stop call.
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "plumbing/host.h"
#include "plumbing/host_lock.h"
#include "plumbing/system.h"
#include "services/host_tables.h"
#include "services/services.h"
#include "tables/search_window.h"
#include "text/mazovia_utf8.h"
#include "window/window_runner.h"

using namespace refhost;

namespace refhost {

// A null title or text, which no real call passes, shows as empty.
static void PrintBox(const char* kind, const char* title, const char* text) {
    std::string body = Readable(text ? text : "");
    std::string out = std::string(kind) + " \"" + Readable(title ? title : "") + "\":";
    std::istringstream lines(body);
    for (std::string line; std::getline(lines, line);) out += "\n  " + line;
    PrintLine(out);
}

// A screen, when one is in use, shows the box to the person at the host as
// well. True when it was shown; for a question, yes then holds the answer.
static bool ShowToUser(const char* title, const char* text, bool question, bool& yes) {
    WindowUser* user = CurrentWindowUser();
    HostLockReleased whileTheUserLooks;
    return user && user->ShowMessage(title ? title : "", text ? text : "", question, yes);
}

static std::mutex g_tablesMutex;
static std::map<int, WindowHandlerRecord> g_handlerRecords;
static std::map<int, WindowProcedure> g_hooks;

WindowProcedure HookedProcedure(int window) {
    std::lock_guard lock(g_tablesMutex);
    auto hook = g_hooks.find(window);
    return hook == g_hooks.end() ? nullptr : hook->second;
}

WindowHandlerRecord* HandlerRecord(int window) {
    std::lock_guard lock(g_tablesMutex);
    auto record = g_handlerRecords.find(window);
    return record == g_handlerRecords.end() ? nullptr : &record->second;
}

static int HOSTAPI HostTableHandler(int key, int table, int row, int a4, int a5, int a6, int a7, int a8, int a9,
                                    int column, int a11) {
    TraceCallIn("host's table 35 handler %d, %d, %d, %d, %d, %d, %d, %d, %d, %d, %d", key, table, row, a4, a5, a6,
                a7, a8, a9, column, a11);
    return 0;
}

TableDescriptor* ContractorTable() {
    static TableDescriptor descriptor = [] {
        TableDescriptor d{};
        TableHandler handler = &HostTableHandler;
        std::memcpy(d.bytes + kDescriptorHandlerOffset, &handler, sizeof handler);
        return d;
    }();
    int size = HostOptions().tableSize;
    if (size == 0) return nullptr;
    int16_t size16 = static_cast<int16_t>(size);
    std::memcpy(descriptor.bytes + kDescriptorRecordSizeOffset, &size16, sizeof size16);
    return &descriptor;
}

TableHandler ContractorTableHandler() {
    TableDescriptor* descriptor = ContractorTable();
    if (!descriptor) return nullptr;
    TableHandler handler;
    std::memcpy(&handler, descriptor->bytes + kDescriptorHandlerOffset, sizeof handler);
    return handler;
}

// The listener threads started for the plug-in, by control block.
static std::mutex g_threadsMutex;
static std::map<void*, std::thread> g_threads;

}  // namespace refhost

extern "C" {

int HOSTVA ordinal_30006(int what, int value) {
    HostLockScope held(30006);
    int result = (what == 1 && value == 1) ? static_cast<int>(HostOptions().features) : 0;
    Trace(30006, "%d, %d -> 0x%08X", what, value, static_cast<unsigned>(result));
    return result;
}

int HOSTVA ordinal_35802(int box, const char* title, const char* format, int kind, int style, ...) {
    HostLockScope held(35802);
    char text[8192];
    va_list arguments;
    va_start(arguments, style);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    Trace(35802, "%d, \"%s\", \"%s\", %d, %d, ... -> \"%s\"", box, title, format, kind, style, text);
    PrintBox("message box", title, text);
    bool yes = false;
    ShowToUser(title, text, false, yes);
    return 0;
}

int HOSTAPI ordinal_52028(const char* title, const char* text, int style) {
    HostLockScope held(52028);
    Trace(52028, "\"%s\", \"%s\", 0x%X", title ? title : "", text ? text : "", static_cast<unsigned>(style));
    bool question = (style & 0x10000) != 0;
    PrintBox(question ? "question" : "message", title, text);
    bool yes = false;
    bool shown = ShowToUser(title, text, question, yes);
    if (!question) return 0;
    int answer = shown ? (yes ? 0x5009 : 0x5008) : HostOptions().answer;
    PrintLine(answer == 0x5009 ? "  answered: yes" : "  answered: no");
    return answer;
}

int HOSTVA ordinal_52023(int notice, int16_t* flag, int third, const char* title) {
    HostLockScope held(52023);
    Trace(52023, "%d, flag %d, %d, \"%s\"", notice, flag ? *flag : -1, third, title ? title : "");
    PrintLine("notice \"" + Readable(title) + "\": shown; it will not be shown again");
    bool yes = false;
    std::string text = Utf8ToMazovia("Komunikat " + std::to_string(notice) + " wtyczki.\nNie będzie pokazywany ponownie.");
    ShowToUser(title, text.c_str(), false, yes);
    if (flag) *flag = 1;
    return 0;
}

int HOSTAPI ordinal_52064() {
    HostLockScope held(52064);
    Trace(52064, "%s", "");
    return 0;
}

int HOSTAPI ordinal_51594() {
    HostLockScope held(51594);
    Trace(51594, "-> %d", HostOptions().interfaceLevel);
    return HostOptions().interfaceLevel;
}

int HOSTAPI ordinal_52006(const char* date) {
    HostLockScope held(52006);
    uint32_t value = DateValueOf(date ? date : HostOptions().hostDate.c_str());
    Trace(52006, "%s%s%s -> %u", date ? "\"" : "", date ? date : "null", date ? "\"" : "", value);
    return static_cast<int>(value);
}

void* HOSTAPI ordinal_52256(int table) {
    HostLockScope held(52256);
    void* descriptor = table == 35 ? ContractorTable() : nullptr;
    Trace(52256, "%d -> %s", table, descriptor ? "descriptor" : "null");
    return descriptor;
}

void* HOSTAPI ordinal_52020(int window, WindowProcedure hook) {
    HostLockScope held(52020);
    Trace(52020, "0x%X, %s", static_cast<unsigned>(window), TraceAddress(reinterpret_cast<void*>(hook)).c_str());
    std::lock_guard lock(g_tablesMutex);
    WindowHandlerRecord& record = g_handlerRecords[window];
    if (!record.handler) record.handler = &SearchWindowOwnProcedure;
    g_hooks[window] = hook;
    return &record;
}

int HOSTAPI ordinal_52021(int window) {
    HostLockScope held(52021);
    Trace(52021, "0x%X", static_cast<unsigned>(window));
    std::lock_guard lock(g_tablesMutex);
    g_hooks.erase(window);
    return 0;
}

int HOSTAPI ordinal_33153(const char* name, ThreadProcedure procedure, int third, void* block) {
    HostLockScope held(33153);
    Trace(33153, "\"%s\", %s, %d, %s", name, TraceAddress(reinterpret_cast<void*>(procedure)).c_str(), third,
          TraceAddress(block).c_str());
    std::lock_guard lock(g_threadsMutex);
    std::thread& slot = g_threads[block];
    if (slot.joinable()) slot.join();
    std::string threadName = name;
    slot = std::thread([procedure, block, threadName] {
        NameThisThread(threadName.c_str());
        NameTraceThread(threadName.c_str());
        procedure(block);
    });
    return 0;
}

// The block's first word is the listener's state: the stop brings it to 0
// and waits for the thread to end.
int HOSTAPI ordinal_33155(void* block, int timeout) {
    HostLockScope held(33155);
    Trace(33155, "%s, %d", TraceAddress(block).c_str(), timeout);
    std::thread thread;
    {
        std::lock_guard lock(g_threadsMutex);
        auto found = g_threads.find(block);
        if (found != g_threads.end()) {
            thread = std::move(found->second);
            g_threads.erase(found);
        }
    }
    std::atomic_ref<int32_t>(*static_cast<int32_t*>(block)).store(0);
    // The listener may be waiting for the host's lock in a service.
    HostLockReleased whileTheListenerEnds;
    if (thread.joinable()) thread.join();
    return 0;
}

}  // extern "C"
