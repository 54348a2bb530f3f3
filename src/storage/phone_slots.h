// The ten phone slots: the slot file and its image in memory.
#pragma once

#include <cstddef>

#include "storage/call_record.h"
#include "storage/settings.h"
#include "storage/slot_changes.h"
#include "storage/storage_paths.h"

// The image of the slot file, as last read or written. The listener thread
// and the user-interface thread both use it: hold the lock while reading
// or editing it (the user-interface thread takes it with BoundedStateLock).
extern CallRecord g_phoneSlots[kSlotCount];

// Fills path (size bytes) with the path of the slot file the settings
// name and has the directories leading to it made. A slot file name
// longer than 255 characters is refused with an event line: path is then
// empty, problem holds the line and the result is false. The slot file's
// transaction takes every path through here.
bool PhoneSlotPath(const Settings& settings, char* path, std::size_t size, char* problem, std::size_t problemSize);

// One view of the slots and the settings for an action of the
// user-interface thread: the file read and both copied in one
// transaction, so that what the action shows or hands on comes from one
// read. The image is the view's slots afterwards.
struct SlotView {
    CallRecord slots[kSlotCount];
    Settings settings;
    char problem[kMessageCapacity];   // why the file was not read; empty when it was
};
// False when the plug-in's lock stayed busy (the view is then untouched
// but for its problem). A file that could not be read gives free slots
// and a problem. The user-interface layer shows the problem
// (LoadPhoneSlots, ui/slot_messages.cpp).
bool TakeSlotView(SlotView& view);

// The view's problem when the plug-in's lock stayed busy.
void MarkSlotViewBusy(SlotView& view);

// The listener's filing: the calls, in the order given, with one read and
// one write of the file, in one transaction that waits for the stations' lock about
// `milliseconds`. Busy: another station or this station's other thread
// kept the lock that long and nothing was done; the caller waits without
// holding anything the host needs and tries again. HeldByProgram: another
// program holds the file open and refuses writers (a backup copying it,
// say); nothing was done, and the caller tries again as for Busy. The
// image is the file as written afterwards.
// With a hold, the calls were read after the listener was held up and are
// judged by the rules for late calls (late_calls.h). slotsAfter, when
// given, receives the slots as the file holds them afterwards.
enum class CallsFiled { Filed, Busy, HeldByProgram };
struct HoldInfo;
CallsFiled UpdatePhoneSlots(const CallRecord* calls, int count, int milliseconds, const HoldInfo* hold = nullptr,
                            CallRecord* slotsAfter = nullptr);

// The text for the user's box when a save's transaction was not done.
struct SlotResult;
void ComposeSaveFailure(const SlotResult& result, char* message, std::size_t size);

enum class EditSave { Saved, Busy, Failed };
struct EditOutcome {
    // Edited slots that another call or another station's edit reached
    // first: they keep what the file holds.
    EditConflict conflict[kSlotCount];
    // The slots as the file holds them after the save (when Saved).
    CallRecord slots[kSlotCount];
    // For Failed and Busy: the text for the user's box.
    char message[kMessageCapacity];
};
// F5: reads the file again and writes only the edits whose slot still
// holds what its row was shown from; every other slot stays as the file
// holds it.
EditSave SavePhoneSlots(const SlotEdits& edits, EditOutcome& outcome);
