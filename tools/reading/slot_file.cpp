// The phone-slot file's records taken apart.
#include "reading/slot_file.h"

#include <cstddef>
#include <string_view>

namespace {

struct Field {
    std::size_t offset, size;
};
#define CALL_RECORD_FIELD(name) Field{offsetof(CallRecord, name), sizeof(CallRecord::name)}
constexpr Field kText = CALL_RECORD_FIELD(text), kPhone = CALL_RECORD_FIELD(phone), kTarget = CALL_RECORD_FIELD(target),
                kDate = CALL_RECORD_FIELD(date), kTime = CALL_RECORD_FIELD(time);
#undef CALL_RECORD_FIELD

// The field's text up to its NUL; false when the field has none.
bool TakeField(std::string_view record, Field field, std::string& text) {
    std::string_view bytes = record.substr(field.offset, field.size);
    std::size_t end = bytes.find('\0');
    text = bytes.substr(0, end);
    return end != std::string_view::npos;
}

}  // namespace

SlotFile ReadSlotRecords(const std::string& bytes) {
    SlotFile file;
    file.size = bytes.size();
    for (std::size_t slot = 0; slot < kSlotRecords && (slot + 1) * kSlotRecordSize <= bytes.size(); ++slot) {
        std::string_view record(bytes.data() + slot * kSlotRecordSize, kSlotRecordSize);
        SlotRecord read;
        read.free = record.find_first_not_of('\0') == std::string_view::npos;
        bool whole = true;
        for (auto [field, text] : {std::pair{kText, &read.text}, {kPhone, &read.phone}, {kTarget, &read.target},
                                   {kDate, &read.date}, {kTime, &read.time}})
            whole = TakeField(record, field, *text) && whole;
        if (!whole && file.fieldWithoutEnd < 0) file.fieldWithoutEnd = static_cast<int>(slot);
        file.slots.push_back(std::move(read));
    }
    return file;
}
