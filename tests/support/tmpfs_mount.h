// A small file system of the test's own: a tmpfs of a few pages mounted on
// a directory, to fill up (a full disk) or to make read-only, as root only.
// The test process first moves into a mount namespace of its own, so the
// mount is never seen outside it and vanishes with the process even if the
// test dies; the mount is also undone when the object goes.
#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace test {

class TmpfsMount {
public:
    TmpfsMount() = default;
    ~TmpfsMount() {
        if (!mounted_.empty()) umount2(mounted_.c_str(), MNT_DETACH);
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    // Mounts a tmpfs of `kilobytes` on `directory` (made if missing);
    // false, with the reason in why, where this process may not mount.
    bool Mount(const std::string& directory, int kilobytes, std::string& why) {
        if (geteuid() != 0) {
            why = "mounting needs root";
            return false;
        }
        if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            why = std::string("no mount namespace of our own: ") + std::strerror(errno);
            return false;
        }
        std::filesystem::create_directories(directory);
        std::string options = "size=" + std::to_string(kilobytes) + "k,mode=0777";
        if (mount("tmpfs", directory.c_str(), "tmpfs", 0, options.c_str()) != 0) {
            why = std::string("tmpfs cannot be mounted: ") + std::strerror(errno);
            return false;
        }
        mounted_ = directory;
        options_ = options;
        return true;
    }

    bool MakeReadOnly() { return Remount(MS_RDONLY); }
    bool MakeWritable() { return Remount(0); }

    // Fills the file system with a file until no byte more fits.
    void Fill(const std::string& filler = "filler") {
        std::ofstream out(mounted_ + "/" + filler, std::ios::binary);
        std::string block(4096, 'f');
        while (out.write(block.data(), static_cast<std::streamsize>(block.size())) && out.flush()) {
        }
        out.clear();
        for (int i = 0; i < 4096 && out.put('f') && out.flush(); ++i) {
        }
    }

    void Free(const std::string& filler = "filler") { std::filesystem::remove(mounted_ + "/" + filler); }

private:
    bool Remount(unsigned long flags) {
        return mount("tmpfs", mounted_.c_str(), "tmpfs", MS_REMOUNT | flags, options_.c_str()) == 0;
    }

    std::string mounted_;
    std::string options_;
};

}  // namespace test
