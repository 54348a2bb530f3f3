// The slot file's one transaction. Every operation on the file (filing
// calls, F5, F4's slots, the window's view and the search's) goes through
// RunSlotTransaction: the settings' file name copied under the plug-in's
// lock; the stations' lock taken without it, waited for at most as long
// as the caller says; the file opened, read, changed by the slot rules
// (slot_changes.h), the changed records written in place, each whole in
// one write; the file closed; the lock let go; and the image published
// under the plug-in's lock, for a copy alone. Both threads call it; the
// stations' lock is taken nowhere else.
#pragma once

#include <cstdint>

#include "storage/call_record.h"
#include "storage/settings.h"
#include "storage/slot_changes.h"
#include "storage/storage_paths.h"

// How the file is opened.
enum class SlotAccess : uint8_t {
    Read,      // the view: read through the host, never made
    Existing,  // F4: opened in place where it is; where none is, nothing to clear
    Create,    // filing and saving: opened in place, made where none is
};

struct SlotRequest {
    SlotOperation operation;
    SlotAccess access = SlotAccess::Create;
    // The longest wait for the stations' lock.
    int waitMilliseconds = 0;
    // The host's user-interface thread: the plug-in's lock is waited for
    // a bounded time only.
    bool userInterface = false;
    // Run under the stations' lock once the records are written (F4's day
    // log); false puts the records read back.
    bool (*afterWrite)(void* context) = nullptr;
    void* context = nullptr;
};

enum class SlotOutcome : uint8_t {
    Done,           // read, and written where the change asked for it
    NotNamed,       // the slot file name was refused (the day log says why)
    PluginBusy,     // the plug-in's lock stayed busy (user-interface thread)
    BusyHere,       // this station's other thread kept its turn at the file
    StationBusy,    // another station kept the lock
    HeldByProgram,  // another program holds the file and refuses writers
    OpenFailed,
    ReadFailed,
    WriteFailed,    // the records read were written back as far as the system let
    Undone,         // afterWrite refused: the records read are back
    Lost,           // afterWrite refused and the records read could not be put back
};

struct SlotResult {
    SlotOutcome outcome;
    int systemError;                  // the system's code of a failed step, 0 when none
    char path[kPathCapacity];         // empty when not named
    Settings settings;                // as copied with the file name
    char problem[kMessageCapacity];   // the view's reason the file was not read; empty when it was
    SlotChange change;                // change.slots: the file as it stands afterwards
};

void RunSlotTransaction(const SlotRequest& request, SlotResult& result);
