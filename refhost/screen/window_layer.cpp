// Drawing a window and acting in it. Keys the window does not take for
// focus or editing are the window's keys: the runner finds the control they
// choose or hands them to the window procedure as commands, exactly as a
// script's keys.
#include "screen/window_layer.h"

#include <algorithm>

#include "services/host_screen.h"
#include "window/window_text.h"

namespace refhost::screen {
namespace {

bool IsInput(const WindowRecord& record) { return record.kind == RecordKind::InputLine && record.input; }

bool IsNavigation(const ScreenKey& key) {
    return key.Is(pc::kTab) || key.Is(pc::kBackTab) || key.Is(pc::kUp) || key.Is(pc::kDown);
}

// Keys that only move or edit; outside an input they mean nothing.
bool IsEditingKey(const ScreenKey& key) {
    return key.Is(pc::kLeft) || key.Is(pc::kRight) || key.Is(pc::kHome) || key.Is(pc::kEnd) ||
           key.Is(pc::kPageUp) || key.Is(pc::kPageDown) || key.Is(pc::kInsert) || key.Is(pc::kDelete) ||
           key.Is(pc::kBackspace);
}

// The origin that centres a window, or, when it does not fit, keeps the
// focused control in sight.
int Origin(int room, int size, int focusStart, int focusEnd) {
    if (size <= room) return (room - size) / 2;
    int origin = 0;
    if (focusEnd + origin > room) origin = room - focusEnd;
    if (focusStart + origin < 0) origin = -focusStart;
    return origin;
}

StyledLine Plain(std::string_view mazovia) {
    StyledLine line;
    for (char c : mazovia) line.cells.push_back({c, CellStyle::Normal});
    return line;
}

}  // namespace

std::vector<FocusStop> WindowLayer::Stops() const {
    const WindowDescription& description = window_.description();
    std::vector<Rectangle> places;
    places.reserve(description.records.size());
    for (std::size_t i = 0; i < description.records.size(); ++i) places.push_back(window_.ViewOf(i).rectangle);
    Rectangle frame = window_.WindowRectangle();
    return FocusStops(description, places, frame.width, frame.height);
}

const WindowRecord* WindowLayer::FocusedRecord() const {
    if (!focus_) return nullptr;
    return &window_.description().records[*focus_];
}

bool WindowLayer::FocusInInput() const {
    const WindowRecord* record = FocusedRecord();
    return record && IsInput(*record) && editor_;
}

void WindowLayer::FocusOn(std::size_t record) {
    Commit();
    focus_ = record;
    editor_.reset();
    edited_ = false;
    const WindowRecord& control = window_.description().records[record];
    if (IsInput(control))
        editor_.emplace(window_.ViewOf(record).text, control.input->maxLength,
                        control.input->type == InputLine::Type::Number);
}

// The focus starts on the first stop, and goes back there when the control
// it was on has left the window.
void WindowLayer::EnsureFocus() {
    std::vector<FocusStop> stops = Stops();
    if (stops.empty()) {
        focus_.reset();
        editor_.reset();
        return;
    }
    bool stillThere = focus_ && std::any_of(stops.begin(), stops.end(),
                                            [&](const FocusStop& stop) { return stop.record == *focus_; });
    if (stillThere) return;
    // In a radio group the focus starts on the chosen button.
    std::size_t first = FirstStop(stops);
    for (std::size_t i = first; i < stops.size() && stops[i].kind == RecordKind::RadioButton; ++i)
        if (window_.ViewOf(stops[i].record).on) first = i;
    FocusOn(stops[first].record);
}

void WindowLayer::Commit() {
    if (!editor_ || !edited_ || !focus_) return;
    edited_ = false;
    std::string note;
    window_.Type(FocusedRecord()->id, editor_->text(), note);
    std::string shown = window_.ViewOf(*focus_).text;
    if (shown != editor_->text()) editor_->SetText(shown);
}

void WindowLayer::Sync() {
    EnsureFocus();
    if (!editor_ || edited_ || !focus_) return;
    std::string shown = window_.ViewOf(*focus_).text;
    if (shown != editor_->text()) editor_->SetText(shown);
}

bool WindowLayer::Suggest(std::string_view text, const std::vector<uint16_t>& keys) {
    EnsureFocus();
    if (!FocusInInput()) return false;
    editor_->SetText(std::string(text));
    edited_ = true;
    Commit();
    for (uint16_t key : keys)
        if (key == pc::kHome) editor_->MoveHome();
    return true;
}

void WindowLayer::MoveFocus(const ScreenKey& key) {
    std::vector<FocusStop> stops = Stops();
    if (stops.empty() || !focus_) return;
    std::size_t current = 0;
    while (current < stops.size() && stops[current].record != *focus_) ++current;
    if (current == stops.size()) current = 0;
    std::size_t next = current;
    if (key.Is(pc::kTab)) next = NextStop(stops, current, 1);
    if (key.Is(pc::kBackTab)) next = NextStop(stops, current, -1);
    if (key.Is(pc::kRight)) next = StopOnSameRow(stops, current, 1);
    if (key.Is(pc::kLeft)) next = StopOnSameRow(stops, current, -1);
    if (key.Is(pc::kDown)) next = StopOnNearestRow(stops, current, 1);
    if (key.Is(pc::kUp)) next = StopOnNearestRow(stops, current, -1);
    FocusOn(stops[next].record);
}

void WindowLayer::ChooseFocused() {
    if (!focus_) return;
    Commit();
    window_.ChooseControl(*focus_);
}

void WindowLayer::EnterInInput() {
    Commit();
    if (std::optional<std::size_t> button = ButtonAfterInput(window_.description(), *focus_)) {
        window_.ChooseControl(*button);
        return;
    }
    MoveFocus({ScreenKey::Kind::Code, pc::kTab, false});
}

// The clipboard's text goes in at the cursor as if typed: the input's
// rules hold, and what it refuses is left out.
bool WindowLayer::Paste() {
    std::string clipboard = ClipboardText();
    bool tookAll = true;
    for (char byte : clipboard) {
        ScreenKey typed{ScreenKey::Kind::Text, static_cast<uint8_t>(byte), false};
        if (editor_->Handle(typed) == InputEditor::Result::Taken)
            edited_ = true;
        else
            tookAll = false;
    }
    return tookAll && !clipboard.empty();
}

bool WindowLayer::Handle(const ScreenKey& key) {
    EnsureFocus();
    if (key.kind == ScreenKey::Kind::Unsupported) return false;
    if (FocusInInput() && key.Is(pc::kCtrlV)) return Paste();
    if (FocusInInput()) {
        std::string before = editor_->text();
        InputEditor::Result result = editor_->Handle(key);
        if (result == InputEditor::Result::Taken) {
            if (editor_->text() != before) edited_ = true;
            return true;
        }
        if (result == InputEditor::Result::Refused) return false;
    }
    if (IsNavigation(key) || (!FocusInInput() && (key.Is(pc::kLeft) || key.Is(pc::kRight)))) {
        MoveFocus(key);
        return true;
    }
    if (key.Is(pc::kEnter) && !key.alt) {
        if (FocusInInput())
            EnterInInput();
        else
            ChooseFocused();
        return true;
    }
    if (key.IsText() && !key.alt && key.Byte() == ' ') {
        ChooseFocused();
        return true;
    }
    if (IsEditingKey(key)) return false;
    Commit();
    window_.PressKey(key.code);
    return true;
}

std::string WindowLayer::KeyHelp() const {
    if (FocusInInput())
        return "Pisz tekst  ←→ Home End  Ctrl-V wklej  Tab/↑↓ pole  Enter dalej  Alt+litera skrót  ESC wyjście";
    return "Tab/↑↓←→ pole  Enter/Spacja wybór  litera lub Alt+litera skrót  ESC wyjście";
}

void WindowLayer::Paint(Canvas& canvas) {
    EnsureFocus();
    Rectangle frame = window_.WindowRectangle();
    Rectangle focused = focus_ ? window_.ViewOf(*focus_).rectangle : Rectangle{0, 0, 0, 0};
    int originX = Origin(canvas.width(), frame.width, focused.x, focused.x + focused.width + 1);
    int originY = Origin(canvas.height(), frame.height, focused.y, focused.y + 2);
    canvas.Box({originX, originY, frame.width, frame.height}, Look::Window, Look::Frame,
               ReadableControlText(window_.description().window().text));
    int rightEdge = originX + frame.width - 1;  // the border: controls end before it
    for (std::size_t i = 1; i < window_.description().records.size(); ++i)
        PaintControl(canvas, i, originX, originY, rightEdge);
    if (std::optional<std::string> extra = window_.FieldText(0); extra && !extra->empty())
        canvas.Styled(originX + 2, originY + frame.height - 2, RenderMarkup(*extra, Tildes::Literal).front(),
                      Look::Window, frame.width - 4);
    if (frame.width > canvas.width() || frame.height > canvas.height()) {
        std::string notice = " Okno " + std::to_string(frame.width) + "x" + std::to_string(frame.height) +
                             " nie mieści się w terminalu: powiększ go ";
        canvas.Text(0, 0, notice, Look::Bar, canvas.width());
    }
}

void WindowLayer::PaintControl(Canvas& canvas, std::size_t index, int originX, int originY, int rightEdge) {
    const WindowRecord& record = window_.description().records[index];
    RunningWindow::ControlView view = window_.ViewOf(index);
    const Rectangle& place = view.rectangle;
    Rectangle frame = window_.WindowRectangle();
    if (place.x < 0 || place.y < 0 || place.x >= frame.width || place.y >= frame.height) return;
    int x = originX + place.x;
    int y = originY + place.y;
    int room = rightEdge - x;
    int width = place.width > 0 ? std::min<int>(place.width, room) : room;
    if (width <= 0) return;
    bool focused = focus_ && *focus_ == index;
    switch (record.kind) {
        case RecordKind::Button: {
            StyledLine label = RenderLabel(record.text);
            if (label.cells.empty()) return;
            Look look = focused ? Look::Focused : Look::Button;
            int taken = canvas.Text(x, y, "[", look, width);
            taken += canvas.Styled(x + taken, y, label, look, std::max(0, width - taken - 1));
            canvas.Text(x + taken, y, "]", look, std::max(0, width - taken));
            return;
        }
        case RecordKind::RadioButton:
        case RecordKind::CheckBox: {
            bool radio = record.kind == RecordKind::RadioButton;
            std::string mark = view.on ? (radio ? (canvas.utf8() ? "•" : "*") : "x") : " ";
            Look look = focused ? Look::Focused : Look::Window;
            std::string box = radio ? "(" + mark + ") " : "[" + mark + "] ";
            int taken = canvas.Text(x, y, box, look, width);
            canvas.Styled(x + taken, y, RenderLabel(record.text), look, std::max(0, width - taken));
            return;
        }
        case RecordKind::StaticText:
            canvas.Styled(x, y, RenderLabel(record.text), Look::Window, width);
            return;
        case RecordKind::DisplayField: {
            StyledLine line = RenderMarkup(view.text, Tildes::Literal).front();
            int indent = line.centred ? std::max(0, (width - static_cast<int>(line.cells.size())) / 2) : 0;
            canvas.Styled(x + indent, y, line, Look::Window, width - indent);
            return;
        }
        case RecordKind::InputLine:
            PaintInput(canvas, index, x, y, width);
            return;
        case RecordKind::Window:
            return;
    }
}

void WindowLayer::PaintInput(Canvas& canvas, std::size_t index, int x, int y, int width) {
    bool focused = focus_ && *focus_ == index && editor_;
    Look look = focused ? Look::InputFocused : Look::Input;
    std::string filler = canvas.utf8() ? "·" : ".";
    for (int column = 0; column < width; ++column) canvas.Text(x + column, y, filler, look, 1);
    if (!focused) {
        canvas.Styled(x, y, Plain(window_.ViewOf(index).text), look, width);
        return;
    }
    std::size_t first = editor_->FirstShown(static_cast<std::size_t>(width));
    canvas.Styled(x, y, Plain(editor_->text()), look, width, first);
    canvas.ShowCursor(x + static_cast<int>(editor_->cursor() - first), y);
}

}  // namespace refhost::screen
