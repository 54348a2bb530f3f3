// The plug-in's own stream work, the same on every system: reading,
// positioning, writing and closing a stream that the host opened, and the
// test switch that makes the next calls of one kind fail.
#include <atomic>

#include "platform/platform.h"

static std::atomic<int> g_fileFaults[static_cast<int>(FileCall::kCount)];
static std::atomic<FileCallHook> g_fileCallHook{nullptr};

void HookFileCalls(FileCallHook hook) { g_fileCallHook.store(hook); }

static void RunHook(FileCall call) {
    NoteFileWork("slot file work");
    if (FileCallHook hook = g_fileCallHook.load()) hook(call);
}

void FailNextFileCalls(FileCall call, int count) {
    g_fileFaults[static_cast<int>(call)].store(count > 0 ? count : 0);
}

bool TakeFileFault(FileCall call) {
    std::atomic<int>& pending = g_fileFaults[static_cast<int>(call)];
    int count = pending.load();
    while (count > 0)
        if (pending.compare_exchange_weak(count, count - 1)) return true;
    return false;
}

long ReadFileStream(std::FILE* stream, void* data, std::size_t size) {
    RunHook(FileCall::Read);
    if (TakeFileFault(FileCall::Read)) return -1;
    std::size_t read = std::fread(data, 1, size, stream);
    if (read < size && std::ferror(stream)) return -1;
    return static_cast<long>(read);
}

int WriteFileStream(std::FILE* stream, const void* data, std::size_t size) {
    RunHook(FileCall::Write);
    if (TakeFileFault(FileCall::Write)) return -1;
    return std::fwrite(data, 1, size, stream) == size ? 0 : -1;
}

int SeekFileStream(std::FILE* stream, long offset) {
    RunHook(FileCall::Seek);
    if (TakeFileFault(FileCall::Seek)) return -1;
    return std::fseek(stream, offset, SEEK_SET) == 0 ? 0 : -1;
}

int RewindFileStream(std::FILE* stream) { return SeekFileStream(stream, 0); }

// A write the system refuses shows here at the latest, before the close.
int FlushFileStream(std::FILE* stream) {
    RunHook(FileCall::Flush);
    if (TakeFileFault(FileCall::Write)) return -1;
    return std::fflush(stream) == 0 ? 0 : -1;
}

// A failed close must still release the stream, so the injected failure
// closes it too and only reports otherwise.
int CloseFileStream(std::FILE* stream) {
    NoteFileWork("a close");
    bool fail = TakeFileFault(FileCall::Close);
    int result = std::fclose(stream);
    return (fail || result != 0) ? -1 : 0;
}

int UnbufferFileStream(std::FILE* stream) { return std::setvbuf(stream, nullptr, _IONBF, 0) == 0 ? 0 : -1; }
