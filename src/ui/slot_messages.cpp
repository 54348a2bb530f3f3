// The user-interface side of the slot operations: the boxes that tell the
// user what storage reported.
#include "ui/slot_messages.h"

#include "host/imports.h"

// The host's plain message box with one button.
static constexpr int kMessageBoxStyle = 1;

void ShowSlotProblem(const SlotView& view) {
    if (view.problem[0] != '\0') CallHost<Host::AskUser>("uwaga", view.problem, kMessageBoxStyle);
}

bool LoadPhoneSlots(SlotView& view, bool showMessages) {
    bool taken = TakeSlotView(view);
    if (showMessages) ShowSlotProblem(view);
    return taken;
}
