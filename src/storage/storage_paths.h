// The storage's fixed paths and the sizes of the buffers that hold paths
// and composed lines.
#pragma once

#include <cstddef>

// The directory of the day logs and of the default slot file, relative to
// the host's current directory.
inline constexpr char kLogDirectory[] = "LOGS\\TELEFONY\\";
inline constexpr char kDefaultSlotFileName[] = "LOGS\\TELEFONY\\CLIP.DAT";

// Paths are held in 260 bytes; a slot file name may use 255 characters of
// them, which leaves room for the lock file's ".lck" beside it.
inline constexpr std::size_t kPathCapacity = 260;
inline constexpr std::size_t kLongestSlotFileName = 255;

// Messages are composed with room for a whole path; an event line adds the
// date, time, computer, station and user in front of its message.
inline constexpr std::size_t kMessageCapacity = 512;
inline constexpr std::size_t kEventLineCapacity = 1024;
