// The day log "LOGS\TELEFONY\<day>.LOG": event lines that say what the
// plug-in did, each stamped with the date, time, computer, station and user.
#include "storage/day_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "host/imports.h"
#include "storage/settings.h"
#include "storage/station_clock.h"
#include "storage/storage_paths.h"

// The host writes its date texts without a bound; these buffers are far
// larger than its 8- and 10-character forms.
static constexpr std::size_t kDateCapacity = 32;
// The computer name is asked for with a size of 15; a longer name is cut.
static constexpr std::size_t kComputerNameSize = 15;
// The user's name stands at this offset of the host's user record.
static constexpr std::size_t kUserNameOffset = 54;

static void TodayDisplayDate(char* display) {
    char today[kDateCapacity] = {};
    display[0] = '\0';
    CallHost<Host::TodayDate>(today);
    CallHost<Host::DisplayDate>(display, today);
    display[kDateCapacity - 1] = '\0';
}

void DayLogPath(char* path, int capacity) {
    if (capacity <= 0) return;
    std::size_t size = static_cast<std::size_t>(capacity);
    std::snprintf(path, size, "%s", kLogDirectory);
    CallHost<Host::MakeDirectories>(path);
    char day[kDateCapacity];
    TodayDisplayDate(day);
    // The display form's separators (dots) would not do in a file name.
    std::size_t length = std::strlen(day);
    if (length > 2) day[2] = '-';
    if (length > 5) day[5] = '-';
    std::snprintf(path, size, "%s%s.LOG", kLogDirectory, day);
}

struct ComputerName {
    char text[kComputerNameSize];
};

static const char* CurrentUserName() {
    const char* record = CallHost<Host::CurrentUser>();
    return record ? record + kUserNameOffset : "";
}

void WriteEventLog(const char* message) {
    if (!IsDayLogOn()) return;
    // The computer's name stays for the session (a new name needs a
    // restart of the system): it is asked for once, not for every line.
    static const ComputerName computer = [] {
        ComputerName name;
        GetComputerNameText(name.text, sizeof name.text);
        return name;
    }();
    char time[kDateCapacity] = {};
    CallHost<Host::CurrentTime>(time, 0);
    time[kDateCapacity - 1] = '\0';
    char date[kDateCapacity];
    TodayDisplayDate(date);
    int station = CallHost<Host::StationNumber>();
    const char* user = CurrentUserName();
    char line[kEventLineCapacity];
    std::snprintf(line, sizeof line, "%s %s %s:s=%d:u=%s %s", date, time, computer.text, station, user, message);
    // The date is fetched again for the path, so a line written across
    // midnight may carry yesterday's date in today's file.
    char path[kPathCapacity];
    DayLogPath(path, sizeof path);
    CallHost<Host::AppendLine>(path, line);
    CheckStationClock(path, time);
}

void WriteEventLogF(const char* format, ...) {
    char message[kMessageCapacity];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    WriteEventLog(message);
}
