// The host's clipboard, suggestion, key list and viewer contents. The plug-in
// reaches them from the user-interface thread; the lock keeps a reader on
// another thread safe all the same.
#include "services/host_screen.h"

#include <mutex>

namespace refhost {
namespace {

struct Screen {
    std::mutex mutex;
    std::string clipboard;
    std::string suggestion;
    std::vector<uint16_t> keys;
    std::string viewerPath;
    std::string viewerContent;
};

Screen& TheScreen() {
    static Screen screen;
    return screen;
}

template <typename Value>
Value Read(Value Screen::*member) {
    Screen& screen = TheScreen();
    std::lock_guard lock(screen.mutex);
    return screen.*member;
}

template <typename Value>
void Write(Value Screen::*member, Value value) {
    Screen& screen = TheScreen();
    std::lock_guard lock(screen.mutex);
    screen.*member = std::move(value);
}

}  // namespace

std::string ClipboardText() { return Read(&Screen::clipboard); }
std::string SuggestionText() { return Read(&Screen::suggestion); }
std::vector<uint16_t> PushedKeys() { return Read(&Screen::keys); }
std::string ViewerContent() { return Read(&Screen::viewerContent); }
std::string ViewerPath() { return Read(&Screen::viewerPath); }

void SetClipboardText(std::string text) { Write(&Screen::clipboard, std::move(text)); }
void SetSuggestion(std::string text) { Write(&Screen::suggestion, std::move(text)); }
void SetPushedKeys(std::vector<uint16_t> keys) { Write(&Screen::keys, std::move(keys)); }

void SetViewer(std::string path, std::string content) {
    Screen& screen = TheScreen();
    std::lock_guard lock(screen.mutex);
    screen.viewerPath = std::move(path);
    screen.viewerContent = std::move(content);
}

}  // namespace refhost
