// Focus in a window: which controls take it, in what order Tab walks them,
// which one the arrows reach, and which button Enter in an input chooses.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "window/window_format.h"
#include "window/window_runner.h"

namespace refhost::screen {

struct FocusStop {
    std::size_t record;  // index in the description's records
    RecordKind kind;
    Rectangle place;     // relative to the window
};

// The buttons, radio buttons, check boxes and inputs that lie inside a
// window of this size, in description order. A control placed outside the
// window only catches its key and takes no focus.
std::vector<FocusStop> FocusStops(const WindowDescription& description,
                                  const std::vector<Rectangle>& places, int windowWidth, int windowHeight);

// Where the focus starts: the first stop that is not a button, so that a
// window does not open with a closing button under Enter.
std::size_t FirstStop(const std::vector<FocusStop>& stops);
// Tab and Shift-Tab: the next or previous stop, round the end.
std::size_t NextStop(const std::vector<FocusStop>& stops, std::size_t current, int step);
// Up and Down: the nearest stop on the nearest row above or below, by
// column; the current one when there is none.
std::size_t StopOnNearestRow(const std::vector<FocusStop>& stops, std::size_t current, int direction);

// Left and Right outside an input: the nearest stop on the same row, to
// that side; the next or previous stop in order when the row has none.
std::size_t StopOnSameRow(const std::vector<FocusStop>& stops, std::size_t current, int direction);

// Enter in an input chooses the button that directly follows it (static
// texts and display fields between them do not count): the search button
// after the NIP, the chooser button after a file name.
std::optional<std::size_t> ButtonAfterInput(const WindowDescription& description, std::size_t inputRecord);

}  // namespace refhost::screen
