// callerid window-description: writes the caller-ID window description the
// plug-in hands to the host, byte for byte, or with --list shows its records
// as the reference host reads them, with the data record each one binds.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "commands/commands.h"
#include "output/counted_words.h"
#include "output/exit_codes.h"
#include "output/messages.h"
#include "output/text_layout.h"
#include "text/mazovia_utf8.h"
#include "ui/window_description.h"
#include "window/window_format.h"

namespace {

std::span<const uint8_t> DescriptionBytes() {
    return {CallerIdWindowDescription(), CallerIdWindowDescriptionSize()};
}

int WriteRaw() {
    // Raw bytes on a terminal are noise that may also set the terminal's modes.
    if (StandardOutputIsTerminal()) return Fail(kBadUsage, "window-description", Msg::WindowRawToTerminal);
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::span<const uint8_t> bytes = DescriptionBytes();
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
        return Fail(kUnreadable, "window-description", Msg::CannotRead, "stdout");
    }
    return 0;
}

// The text in UTF-8, with the markup bytes the host interprets (0x05 and
// 0x01 in the button captions) written as <05> and <01>.
std::string ReadableText(const std::string& mazovia) {
    std::string out;
    std::string run;
    for (char c : mazovia) {
        auto byte = static_cast<uint8_t>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            run += c;
            continue;
        }
        out += refhost::MazoviaToUtf8(run);
        run.clear();
        char markup[8];
        std::snprintf(markup, sizeof markup, "<%02X>", byte);
        out += markup;
    }
    return out + refhost::MazoviaToUtf8(run);
}

std::string DataColumn(const refhost::WindowRecord& record) {
    if (!record.data) return "-";
    const refhost::DataField& field = *record.data;
    char text[48];
    switch (field.type) {
        case refhost::DataField::Type::RadioGroup:
            std::snprintf(text, sizeof text, "%zu/%zu index", field.offset, field.size);
            break;
        case refhost::DataField::Type::RadioButton:
            std::snprintf(text, sizeof text, "%zu/%zu =%u", field.offset, field.size, field.value);
            break;
        case refhost::DataField::Type::CheckBox:
            std::snprintf(text, sizeof text, "%zu/%zu bit %u", field.offset, field.size, field.value);
            break;
        case refhost::DataField::Type::Text:
            std::snprintf(text, sizeof text, "%zu/%zu text", field.offset, field.size);
            break;
        case refhost::DataField::Type::Number:
            std::snprintf(text, sizeof text, "%zu/%zu i16", field.offset, field.size);
            break;
    }
    return text;
}

std::string InputColumn(const refhost::WindowRecord& record) {
    if (!record.input) return "";
    char text[64];
    if (record.input->type == refhost::InputLine::Type::Text)
        std::snprintf(text, sizeof text, " [text, header %u, max %u]", record.input->headerLength,
                      record.input->maxLength);
    else
        std::snprintf(text, sizeof text, " [number, header %u, max %u, %d..%d]", record.input->headerLength,
                      record.input->maxLength, record.input->lowerBound, record.input->upperBound);
    return text;
}

int WriteListing() {
    std::string error;
    std::optional<refhost::WindowDescription> description =
        refhost::ParseWindowDescription(DescriptionBytes(), error);
    if (!description) {
        PrintTo(stderr, "callerid window-description: %s\n", error.c_str());
        return kUnreadable;
    }
    Print("%s", Wrapped(Say(Msg::WindowHeading, Counted(description->size, Noun::Byte).c_str(),
                      Counted(description->records.size(), Noun::Record).c_str(),
                      Counted(description->controls().size(), Noun::Control).c_str(),
                      Counted(description->dataSize, Noun::Byte).c_str()), 0).c_str());
    Print("%s\n", T(Msg::WindowColumns));
    std::size_t index = 0;
    for (const refhost::WindowRecord& record : description->records) {
        // Two lines a record, within 80 columns: the record's numbers and
        // its data field; under them its text and input line, wrapped.
        Print("%3zu  %-13s 0x%04X 0x%04X 0x%04X %5d %4d %4d %4d  %s\n", ++index,
                    refhost::RecordKindName(record.kind), record.id, record.flags, record.hotkey, record.x,
                    record.y, record.width, record.height, DataColumn(record).c_str());
        std::string text = ReadableText(record.text);
        text.insert(text.begin(), '"');
        text.append("\"").append(InputColumn(record));
        Print("%s", Wrapped(text, 5).c_str());
    }
    return kDone;
}

}  // namespace

int RunWindowDescriptionCommand(int argc, char** args) {
    if (argc == 0) return WriteRaw();
    if (argc == 1 && std::strcmp(args[0], "--list") == 0) return WriteListing();
    return Fail(kBadUsage, "window-description", Msg::WindowUsage);
}
