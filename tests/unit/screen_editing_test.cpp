// Editing an input line on the screen (its limits, the number rules, the
// cursor and the part of a long text shown) and the focus in the caller-ID
// window: where it starts, where Tab and the arrows take it, and which
// button Enter in an input chooses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/focus.h"
#include "terminal/input_editor.h"
#include "ui/window_description.h"
#include "window/window_format.h"

namespace {

using refhost::RecordKind;
using refhost::Rectangle;
using refhost::WindowDescription;
using refhost::screen::FocusStop;
using refhost::screen::InputEditor;
using refhost::screen::ScreenKey;
namespace pc = refhost::screen::pc;

ScreenKey Typed(char c) { return {ScreenKey::Kind::Text, static_cast<uint8_t>(c), false}; }
ScreenKey Key(uint16_t code) { return {ScreenKey::Kind::Code, code, false}; }

void TypeAll(InputEditor& editor, const std::string& text) {
    for (char c : text) editor.Handle(Typed(c));
}

TEST(ScreenInputEditor, TextInputTakesNoMoreThanItsMaximumLength) {
    InputEditor editor("", 5, false);
    TypeAll(editor, "abcde");
    EXPECT_EQ(editor.Handle(Typed('f')), InputEditor::Result::Refused);
    EXPECT_EQ(editor.text(), "abcde");
    InputEditor cut("too long a text", 5, false);
    EXPECT_EQ(cut.text(), "too l");
}

TEST(ScreenInputEditor, NumberInputTakesDigitsAndOneLeadingMinus) {
    InputEditor editor("", 6, true);
    EXPECT_EQ(editor.Handle(Typed('x')), InputEditor::Result::Refused);
    TypeAll(editor, "-327");
    EXPECT_EQ(editor.Handle(Typed('-')), InputEditor::Result::Refused);
    TypeAll(editor, "67");
    EXPECT_EQ(editor.text(), "-32767");
    EXPECT_EQ(editor.Handle(Typed('1')), InputEditor::Result::Refused);  // six characters at most
    editor.Handle(Key(pc::kHome));
    EXPECT_EQ(editor.Handle(Typed('5')), InputEditor::Result::Refused);  // nothing before the sign
}

TEST(ScreenInputEditor, CursorMovesInsertsAndDeletesInsideTheText) {
    InputEditor editor("13", 20, false);
    editor.Handle(Key(pc::kLeft));
    editor.Handle(Typed('2'));
    EXPECT_EQ(editor.text(), "123");
    editor.Handle(Key(pc::kHome));
    EXPECT_EQ(editor.Handle(Key(pc::kBackspace)), InputEditor::Result::Refused);
    editor.Handle(Key(pc::kDelete));
    EXPECT_EQ(editor.text(), "23");
    editor.Handle(Key(pc::kEnd));
    EXPECT_EQ(editor.Handle(Key(pc::kDelete)), InputEditor::Result::Refused);
    editor.Handle(Key(pc::kBackspace));
    EXPECT_EQ(editor.text(), "2");
    // Keys that are not for editing are left to the window.
    EXPECT_EQ(editor.Handle(Key(0x3F00)), InputEditor::Result::NotMine);
    EXPECT_EQ(editor.Handle({ScreenKey::Kind::Text, 'w', true}), InputEditor::Result::NotMine);
}

TEST(ScreenInputEditor, LongTextScrollsSoTheCursorStaysInTheField) {
    InputEditor editor("SEKRETARIAT-", 20, false);
    // Fifteen cells: the cursor after the text needs one of them.
    EXPECT_EQ(editor.FirstShown(15), 0u);
    TypeAll(editor, "ABCDE");
    EXPECT_EQ(editor.cursor(), 17u);
    EXPECT_EQ(editor.FirstShown(15), 3u);
    editor.Handle(Key(pc::kHome));
    EXPECT_EQ(editor.FirstShown(15), 0u);
}

class CallerIdWindowFocus : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        const unsigned char* start = CallerIdWindowDescription();
        auto parsed = refhost::ParseWindowDescription(
            std::span<const uint8_t>(start, CallerIdWindowDescriptionSize()), error);
        ASSERT_TRUE(parsed) << error;
        description = std::move(*parsed);
        for (const auto& record : description.records)
            places.push_back({record.x, record.y, record.width, record.height});
    }

    std::vector<FocusStop> Stops() const {
        const Rectangle& frame = places.front();
        return refhost::screen::FocusStops(description, places, frame.width, frame.height);
    }

    // The stop of the first control with this id and kind.
    std::size_t StopOf(const std::vector<FocusStop>& stops, uint16_t id, RecordKind kind) const {
        for (std::size_t i = 0; i < stops.size(); ++i)
            if (description.records[stops[i].record].id == id && stops[i].kind == kind) return i;
        ADD_FAILURE() << "no stop for 0x" << std::hex << id;
        return 0;
    }

    uint16_t IdOf(const std::vector<FocusStop>& stops, std::size_t stop) const {
        return description.records[stops[stop].record].id;
    }

    WindowDescription description;
    std::vector<Rectangle> places;
};

TEST_F(CallerIdWindowFocus, ControlsInsideTheWindowTakeFocusAndTheHiddenPingButtonDoesNot) {
    std::vector<FocusStop> stops = Stops();
    // Six buttons at the bottom, ten radio buttons, three check boxes, three
    // inputs in each of ten rows, the port, the file name and its button.
    EXPECT_EQ(stops.size(), 6u + 10u + 3u + 30u + 2u + 1u);
    for (const FocusStop& stop : stops) EXPECT_NE(description.records[stop.record].id, kPingButtonId);
    std::size_t first = refhost::screen::FirstStop(stops);
    EXPECT_EQ(stops[first].kind, RecordKind::RadioButton);
    EXPECT_EQ(IdOf(stops, first), kFirstSlotRadioId);
}

TEST_F(CallerIdWindowFocus, ArrowsMoveAcrossAndDownTheRows) {
    std::vector<FocusStop> stops = Stops();
    std::size_t radio1 = StopOf(stops, kFirstSlotRadioId, RecordKind::RadioButton);
    std::size_t phone1 = refhost::screen::StopOnSameRow(stops, radio1, 1);
    EXPECT_EQ(IdOf(stops, phone1), SlotRowBaseId(0));
    EXPECT_EQ(stops[phone1].kind, RecordKind::InputLine);
    std::size_t phone2 = refhost::screen::StopOnNearestRow(stops, phone1, 1);
    EXPECT_EQ(IdOf(stops, phone2), SlotRowBaseId(1));
    EXPECT_EQ(refhost::screen::StopOnNearestRow(stops, phone2, -1), phone1);
    EXPECT_EQ(refhost::screen::StopOnSameRow(stops, phone1, -1), radio1);
    // The NIP input is the last stop of its row: Right goes on in order.
    std::size_t nip1 = StopOf(stops, SlotRowBaseId(0) + 2, RecordKind::InputLine);
    EXPECT_EQ(refhost::screen::StopOnSameRow(stops, nip1, 1), refhost::screen::NextStop(stops, nip1, 1));
    // Tab goes round the end.
    EXPECT_EQ(refhost::screen::NextStop(stops, stops.size() - 1, 1), 0u);
    EXPECT_EQ(refhost::screen::NextStop(stops, 0, -1), stops.size() - 1);
}

TEST_F(CallerIdWindowFocus, EnterInTheFileNameChoosesTheChooserButtonOnly) {
    auto recordOf = [&](uint16_t id) {
        for (std::size_t i = 1; i < description.records.size(); ++i)
            if (description.records[i].id == id && description.records[i].kind == RecordKind::InputLine) return i;
        return std::size_t{0};
    };
    auto button = refhost::screen::ButtonAfterInput(description, recordOf(kFileNameInputId));
    ASSERT_TRUE(button);
    EXPECT_EQ(description.records[*button].id, kChooseFileButtonId);
    EXPECT_FALSE(refhost::screen::ButtonAfterInput(description, recordOf(kPortInputId)));
    EXPECT_FALSE(refhost::screen::ButtonAfterInput(description, recordOf(SlotRowBaseId(0))));
}

TEST_F(CallerIdWindowFocus, AControlMovedOutOfTheWindowLeavesTheFocusOrder) {
    std::size_t before = Stops().size();
    for (std::size_t i = 1; i < description.records.size(); ++i)
        if (description.records[i].id == kChooseFileButtonId) places[i].x = 200;
    EXPECT_EQ(Stops().size(), before - 1);
}

}  // namespace
