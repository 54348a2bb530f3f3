// The file services: making directories, standard buffered streams (open,
// read, write, close) and appending a line to a text file. Paths are the
// plug-in's Windows paths, relative to the working directory; on POSIX
// every '\' is taken for '/'.
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>

#include "plumbing/host.h"
#include "plumbing/host_lock.h"
#include "plumbing/system.h"
#include "services/services.h"

using namespace refhost;

namespace refhost {

static std::atomic<int> g_streamFaults[static_cast<int>(StreamService::kCount)];

void FailNextStreamCalls(StreamService service, int count) {
    g_streamFaults[static_cast<int>(service)].store(count > 0 ? count : 0);
}

static bool TakeStreamFault(StreamService service) {
    std::atomic<int>& pending = g_streamFaults[static_cast<int>(service)];
    int count = pending.load();
    while (count > 0)
        if (pending.compare_exchange_weak(count, count - 1)) return true;
    return false;
}

// The directory part of a path: everything up to its last separator.
static std::string DirectoryOf(const std::string& path) {
    std::size_t last = path.find_last_of("/\\");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

// Lines appended by two threads at once must stay whole lines.
static std::mutex g_appendMutex;

}  // namespace refhost

extern "C" {

// Given a directory path ending in a separator or a full file path, makes
// the directories leading to the file. 0 when they exist afterwards.
int HOSTAPI ordinal_51434(const char* path) {
    HostLockScope held(51434);
    Trace(51434, "\"%s\"", path ? path : "");
    if (!path) return -1;
    std::string directory = DirectoryOf(HostPath(path));
    if (directory.empty()) return 0;
    std::error_code code;
    std::filesystem::create_directories(directory, code);
    if (code && !std::filesystem::is_directory(directory)) {
        PrintLine("refhost: cannot make the directory " + directory + ": " + code.message());
        return -1;
    }
    return 0;
}

// Opens a standard buffered stream ("rb", "wb", "rb+", ...). The sharing
// flag and the two values after it are accepted and not needed here: the
// runtime's streams share files with readers and writers alike.
FILE* HOSTAPI ordinal_52534(const char* path, const char* mode, int share, int fourth, int fifth) {
    HostLockScope held(52534);
    FILE* stream = nullptr;
    bool fault = TakeStreamFault(StreamService::Open);
    if (path && mode && !fault) stream = std::fopen(HostPath(path).c_str(), mode);
    // Windows refuses to open a directory as a stream; POSIX opens it for
    // reading and fails only at the read.
    std::error_code error;
    if (stream && std::filesystem::is_directory(HostPath(path), error)) {
        std::fclose(stream);
        stream = nullptr;
    }
    Trace(52534, "\"%s\", \"%s\", 0x%X, %d, %d -> %s%s", path ? path : "", mode ? mode : "",
          static_cast<unsigned>(share), fourth, fifth, TraceAddress(stream).c_str(), fault ? " (fault switch)" : "");
    return stream;
}

int HOSTAPI ordinal_52305(FILE* stream) {
    HostLockScope held(52305);
    bool fault = TakeStreamFault(StreamService::Close);
    Trace(52305, "%s", TraceAddress(stream).c_str());
    int result = stream ? std::fclose(stream) : EOF;
    if (fault) result = EOF;
    return result;
}

int HOSTAPI ordinal_52307(void* data, int size, int count, FILE* stream) {
    HostLockScope held(52307);
    int result = 0;
    if (stream && data && size > 0 && count > 0 && !TakeStreamFault(StreamService::Read))
        result = static_cast<int>(std::fread(data, static_cast<std::size_t>(size),
                                             static_cast<std::size_t>(count), stream));
    Trace(52307, "%s, %d, %d, %s -> %d", TraceAddress(data).c_str(), size, count, TraceAddress(stream).c_str(), result);
    return result;
}

int HOSTAPI ordinal_52308(const void* data, int size, int count, FILE* stream) {
    HostLockScope held(52308);
    int result = 0;
    if (stream && data && size > 0 && count > 0 && !TakeStreamFault(StreamService::Write))
        result = static_cast<int>(std::fwrite(data, static_cast<std::size_t>(size),
                                              static_cast<std::size_t>(count), stream));
    Trace(52308, "%s, %d, %d, %s -> %d", TraceAddress(data).c_str(), size, count, TraceAddress(stream).c_str(), result);
    return result;
}

// Appends the text as one line, the file being made when missing. CR and
// LF inside the text become blanks, so one call is always one line. An
// append that fails part-way (a full disk) is cut off again, so that no
// piece of a line is left for the next line to be glued to.
int HOSTAPI ordinal_52407(const char* path, const char* line) {
    HostLockScope held(52407);
    Trace(52407, "\"%s\", \"%s\"", path ? path : "", line ? line : "");
    if (!path || !line) return -1;
    std::string text(line);
    if (!HostOptions().appendsAsGiven)
        for (char& c : text)
            if (c == '\r' || c == '\n') c = ' ';
    text += kLineEnd;
    std::string file = HostPath(path);
    std::lock_guard lock(g_appendMutex);
    std::error_code sizeError;
    std::uintmax_t sizeBefore = std::filesystem::file_size(file, sizeError);
    if (sizeError) sizeBefore = 0;
    FILE* stream = std::fopen(file.c_str(), "ab");
    if (!stream) {
        PrintLine("refhost: cannot append to " + file);
        return -1;
    }
    bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    bool closed = std::fclose(stream) == 0;
    if (HostOptions().showAppends) PrintLine("log: " + ControlsShown(Readable(line)));
    if (written && closed) return 0;
    std::error_code cutError;
    std::filesystem::resize_file(file, sizeBefore, cutError);
    PrintLine("refhost: appending to " + file + " failed");
    return -1;
}

}  // extern "C"
