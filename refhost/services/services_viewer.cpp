// The log viewer: 38020 opens it on a file and gives back a record whose
// first word is the code of the texts it composes (code 1, the host's
// own); 51711 shows it. The reference host shows the content of the file
// 38020 was given, whatever text 51711 is handed: that text is only the
// viewer's title. Without a file it shows the text itself.
#include <fstream>
#include <mutex>
#include <sstream>

#include "plumbing/host.h"
#include "plumbing/host_lock.h"
#include "services/host_screen.h"
#include "services/services.h"
#include "text/code_pages.h"
#include "text/mazovia_utf8.h"
#include "window/window_runner.h"

using namespace refhost;

namespace {

struct ViewerRecord {
    int32_t code;
};

std::mutex g_viewerMutex;
std::string g_viewerFile;  // the host's path of the file the next viewer shows
ViewerRecord g_viewerRecord = {kCodeMazovia};

void PrintContent(const std::string& content) {
    std::istringstream lines(content);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        PrintLine("  | " + ControlsShown(MazoviaToUtf8(line)));
    }
}

// A screen, when one is in use, shows the viewer to the person at the host.
void ShowToUser(const std::string& title, std::optional<std::string_view> content) {
    if (WindowUser* user = CurrentWindowUser()) {
        HostLockReleased whileTheUserReads;
        user->ShowViewer(title, content);
    }
}

}  // namespace

extern "C" {

void* HOSTAPI ordinal_38020(const char* kind, int limit, char* path, int fourth, int fifth, int sixth) {
    HostLockScope held(38020);
    Trace(38020, "\"%s\", 0x%X, \"%s\", %d, %d, %d", kind ? kind : "", static_cast<unsigned>(limit),
          path ? path : "", fourth, fifth, sixth);
    std::lock_guard lock(g_viewerMutex);
    g_viewerFile = path ? path : "";
    return &g_viewerRecord;
}

int HOSTAPI ordinal_51711(const char* text) {
    HostLockScope held(51711);
    std::string title = text ? text : "";
    Trace(51711, "\"%s\"", title.c_str());
    std::string file;
    {
        std::lock_guard lock(g_viewerMutex);
        file.swap(g_viewerFile);
    }
    if (file.empty()) {
        PrintLine("viewer:");
        PrintContent(title);
        SetViewer("", title);
        ShowToUser("", title);
        return 0;
    }
    std::ifstream in(HostPath(file), std::ios::binary);
    if (!in) {
        PrintLine("viewer \"" + Readable(title) + "\": the file " + Readable(file) + " does not exist");
        SetViewer(file, "");
        ShowToUser(title, std::nullopt);
        return -1;
    }
    std::ostringstream content;
    content << in.rdbuf();
    PrintLine("viewer \"" + Readable(title) + "\": " + Readable(file));
    PrintContent(content.str());
    SetViewer(file, content.str());
    ShowToUser(title, content.str());
    return 0;
}

}  // extern "C"
