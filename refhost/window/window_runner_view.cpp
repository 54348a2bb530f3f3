// A running window as a screen sees it: each control's state by its place
// in the description, and the choice of a control by the user's focus
// rather than by a key.
#include "window/window_runner.h"

namespace refhost {

RunningWindow::ControlView RunningWindow::ViewOf(std::size_t index) const {
    ControlView view;
    if (index >= description_.records.size()) return view;
    const WindowRecord& record = description_.records[index];
    const ControlState& state = states_[index];
    view.rectangle = state.rectangle;
    switch (record.kind) {
        case RecordKind::InputLine:
            view.text = record.input && record.input->type == InputLine::Type::Number ? std::to_string(state.number)
                                                                                      : state.text;
            break;
        case RecordKind::DisplayField:
            view.text = state.text;
            break;
        case RecordKind::CheckBox:
            view.on = state.checked;
            break;
        case RecordKind::RadioButton:
            view.on = record.data && states_[GroupOpener(index)].choice == record.data->value;
            break;
        default:
            break;
    }
    return view;
}

void RunningWindow::ChooseControl(std::size_t index) {
    if (index == 0 || index >= description_.records.size() || closed_) return;
    const WindowRecord& control = description_.records[index];
    bool choosable = control.kind == RecordKind::Button || control.kind == RecordKind::RadioButton ||
                     control.kind == RecordKind::CheckBox;
    if (choosable) Choose(control, "the user");
}

}  // namespace refhost
