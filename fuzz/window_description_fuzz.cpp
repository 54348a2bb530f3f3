// Fuzz target: the reference host's window description reader and the
// binding of the window data record. Any bytes either parse into records
// that lie inside the description and data fields that lie inside the data
// record, or give an error text. A parsed window is then run without a
// screen over a data record of exactly the size the reader laid out (a
// heap block, so that a field beyond it shows), its record shown in the
// controls and collected back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "window/window_format.h"
#include "window/window_runner.h"

namespace {

void CheckLayout(const refhost::WindowDescription& description, std::size_t available) {
    fuzz::Require(description.size <= available, "the description ends within the bytes");
    fuzz::Require(!description.records.empty(), "a description has its window record");
    for (const refhost::WindowRecord& record : description.records) {
        fuzz::Require(record.offset + record.length <= description.size, "a record lies inside the description");
        fuzz::Require(record.text.find('\0') == std::string::npos, "a record's text ends at its NUL");
        if (!record.data) continue;
        fuzz::Require(record.data->size > 0 && record.data->offset + record.data->size <= description.dataSize,
                      "a data field lies inside the data record");
        if (record.data->type == refhost::DataField::Type::Text)
            fuzz::Require(record.input && record.data->size == record.input->maxLength + 1u,
                          "a text field holds its input's characters and a NUL");
    }
}

void RunWithoutScreen(refhost::WindowDescription description, FuzzedDataProvider& input) {
    std::size_t dataSize = description.dataSize;
    std::unique_ptr<uint8_t[]> data(new uint8_t[dataSize]);
    std::string seed = input.ConsumeBytesAsString(dataSize);
    seed.resize(dataSize, '\0');
    std::memcpy(data.get(), seed.data(), dataSize);

    std::vector<uint16_t> ids;
    for (const refhost::WindowRecord& record : description.records) ids.push_back(record.id);
    refhost::RunningWindow window(std::move(description), data.get(), nullptr);
    window.ShowRecord(data.get());
    std::string typed = input.ConsumeRandomLengthString(300);
    std::string note;
    for (uint16_t id : ids) {
        window.Type(id, typed, note);
        window.InputText(id);
        window.FieldText(id);
        window.RadioChoice(id);
        window.CheckBoxState(id);
        window.ShowText(id, typed);
        window.SetControlRectangle(id, {1, 2, 3, 4});
    }
    for (std::size_t i = 0; i < ids.size(); ++i) window.ViewOf(i);
    window.CollectRecord(data.get());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::QuietHost();
    return 0;
}

static std::unique_ptr<uint8_t[]> HeapCopy(const uint8_t* data, std::size_t size) {
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size]);
    if (size > 0) std::memcpy(copy.get(), data, size);
    return copy;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // The input is a description followed by the bytes the run takes (the
    // data record's first contents, a text to type).
    std::unique_ptr<uint8_t[]> whole = HeapCopy(data, size);
    std::string error;
    auto description = refhost::ParseWindowDescription(std::span<const uint8_t>(whole.get(), size), error);
    if (!description) {
        fuzz::Require(!error.empty(), "a refused description says why");
        fuzz::ForgetConsoleLines();
    return 0;
    }
    CheckLayout(*description, size);

    // The description alone, in a block of its own size: the reader must
    // not have needed a byte beyond the extent its first word gives.
    std::size_t extent = description->size;
    std::unique_ptr<uint8_t[]> alone = HeapCopy(data, extent);
    auto again = refhost::ParseWindowDescription(std::span<const uint8_t>(alone.get(), extent), error);
    fuzz::Require(again && again->records.size() == description->records.size() &&
                      again->dataSize == description->dataSize,
                  "the bytes after the description change nothing");

    FuzzedDataProvider rest(data + extent, size - extent);
    RunWithoutScreen(std::move(*again), rest);
    fuzz::ForgetConsoleLines();
    return 0;
}
