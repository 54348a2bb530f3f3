// Focus stops and the moves between them.
#include "screen/focus.h"

#include <cstdlib>
#include <limits>

namespace refhost::screen {
namespace {

bool TakesFocus(RecordKind kind) {
    return kind == RecordKind::Button || kind == RecordKind::RadioButton || kind == RecordKind::CheckBox ||
           kind == RecordKind::InputLine;
}

bool Inside(const Rectangle& place, int windowWidth, int windowHeight) {
    return place.x >= 0 && place.y >= 0 && place.x < windowWidth && place.y < windowHeight && place.width > 0;
}

}  // namespace

std::vector<FocusStop> FocusStops(const WindowDescription& description, const std::vector<Rectangle>& places,
                                  int windowWidth, int windowHeight) {
    std::vector<FocusStop> stops;
    for (std::size_t i = 1; i < description.records.size() && i < places.size(); ++i) {
        const WindowRecord& record = description.records[i];
        if (TakesFocus(record.kind) && Inside(places[i], windowWidth, windowHeight))
            stops.push_back({i, record.kind, places[i]});
    }
    return stops;
}

std::size_t FirstStop(const std::vector<FocusStop>& stops) {
    for (std::size_t i = 0; i < stops.size(); ++i)
        if (stops[i].kind != RecordKind::Button) return i;
    return 0;
}

std::size_t NextStop(const std::vector<FocusStop>& stops, std::size_t current, int step) {
    if (stops.empty()) return 0;
    long count = static_cast<long>(stops.size());
    long next = (static_cast<long>(current) + step) % count;
    return static_cast<std::size_t>(next < 0 ? next + count : next);
}

std::size_t StopOnNearestRow(const std::vector<FocusStop>& stops, std::size_t current, int direction) {
    if (current >= stops.size()) return current;
    const Rectangle& from = stops[current].place;
    int nearestRow = direction > 0 ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min();
    for (const FocusStop& stop : stops) {
        int row = stop.place.y;
        if (direction > 0 && row > from.y && row < nearestRow) nearestRow = row;
        if (direction < 0 && row < from.y && row > nearestRow) nearestRow = row;
    }
    std::size_t best = current;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < stops.size(); ++i) {
        if (stops[i].place.y != nearestRow) continue;
        int distance = std::abs(stops[i].place.x - from.x);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

std::size_t StopOnSameRow(const std::vector<FocusStop>& stops, std::size_t current, int direction) {
    if (current >= stops.size()) return current;
    const Rectangle& from = stops[current].place;
    std::optional<std::size_t> best;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < stops.size(); ++i) {
        if (i == current || stops[i].place.y != from.y) continue;
        int distance = (stops[i].place.x - from.x) * (direction > 0 ? 1 : -1);
        if (distance > 0 && distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best ? *best : NextStop(stops, current, direction > 0 ? 1 : -1);
}

std::optional<std::size_t> ButtonAfterInput(const WindowDescription& description, std::size_t inputRecord) {
    for (std::size_t i = inputRecord + 1; i < description.records.size(); ++i) {
        RecordKind kind = description.records[i].kind;
        if (kind == RecordKind::StaticText || kind == RecordKind::DisplayField) continue;
        if (kind == RecordKind::Button) return i;
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace refhost::screen
