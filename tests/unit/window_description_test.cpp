// The caller-ID window description against bytes written out by hand, the
// reference host's reader of the format with its binding of the window data
// record, the reader's refusal of damaged descriptions, and the callerid
// tool's window-description command.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "ui/window_description.h"
#include "window/window_format.h"

using refhost::DataField;
using refhost::ParseWindowDescription;
using refhost::RecordKind;
using refhost::WindowDescription;
using refhost::WindowRecord;
using Bytes = std::vector<uint8_t>;

namespace {

constexpr std::size_t kRecordCount = 88;

Bytes DescriptionBytes() {
    const unsigned char* start = CallerIdWindowDescription();
    return Bytes(start, start + CallerIdWindowDescriptionSize());
}

WindowDescription Parsed() {
    std::string error;
    auto description = ParseWindowDescription(DescriptionBytes(), error);
    EXPECT_TRUE(description.has_value()) << error;
    return description.value_or(WindowDescription{});
}

// The bytes of record number `number` (1 for the window), as the reader
// delimits it.
Bytes RecordBytes(std::size_t number) {
    WindowDescription description = Parsed();
    const WindowRecord& record = description.records.at(number - 1);
    Bytes all = DescriptionBytes();
    return Bytes(all.begin() + record.offset, all.begin() + record.offset + record.length);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

void PutU16(Bytes& bytes, std::size_t at, unsigned value) {
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(Bytes& bytes, std::size_t at, uint32_t value) {
    PutU16(bytes, at, value & 0xFFFF);
    PutU16(bytes, at + 2, value >> 16);
}

// Parses bytes that must be refused and returns the reader's error.
std::string RefusalOf(const Bytes& bytes) {
    std::string error;
    auto description = ParseWindowDescription(bytes, error);
    EXPECT_FALSE(description.has_value());
    EXPECT_FALSE(error.empty());
    return error;
}

std::size_t RecordOffset(std::size_t number) { return Parsed().records.at(number - 1).offset; }

}  // namespace

// --- The description, byte for byte -------------------------------------

TEST(WindowDescriptionBytes, HeaderCountsTheRecordsAndTheControls) {
    Bytes bytes = DescriptionBytes();
    ASSERT_EQ(bytes.size(), 4u + 2898u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8),
              (Bytes{0x52, 0x0B, 0x00, 0x00, 0x4E, 0x0B, 0x57, 0x00}));
}

TEST(WindowDescriptionBytes, FunctionKeyButtonCarriesItsKeyCodeAsId) {
    EXPECT_EQ(RecordBytes(4), (Bytes{0x00, 0x00, 0x00, 0x3D, 0x00, 0x01, 0x00, 0x00, 0x24, 0x00,
                                    0x14, 0x00, 0x08, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                                    0x05, 0x46, 0x33, 0x01, 0x20, 0x4C, 0x4F, 0x47, 0x00}));
}

TEST(WindowDescriptionBytes, ExitButtonIsChosenByF12) {
    Bytes expected = {0x00, 0x00, 0x01, 0x50, 0x04, 0x00, 0x00, 0x86, 0x05, 0x00,
                      0x14, 0x00, 0x0B, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00};
    for (char c : std::string("\x05" "F12\x01 Wyjdz")) expected.push_back(static_cast<uint8_t>(c));
    expected.push_back(0);
    EXPECT_EQ(RecordBytes(2), expected);
}

TEST(WindowDescriptionBytes, RowOnePhoneIsATextInputOfTwentyCharacters) {
    Bytes expected = Concat({
        {0x05, 0x00, 0x26, 0x00, 0x05, 0x00, 0x0B, 0x41, 0x40, 0x04, 0x00, 0x00},
        {0x0A, 0x00, 0x02, 0x00, 0x0F, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00},
        Bytes(8, 0x00),
        {0x14, 0x00, 0x08, 0x00, 0x00, 0x00, 0x14, 0x00, 0x01, 0x00},
        {0x00},
    });
    ASSERT_EQ(expected.size(), 43u);
    EXPECT_EQ(RecordBytes(25), expected);
}

TEST(WindowDescriptionBytes, PortIsANumericInputWithSymmetricBounds) {
    Bytes expected = Concat({
        {0x05, 0x00, 0x28, 0x00, 0x05, 0x00, 0x84, 0x41, 0x40, 0x04, 0x00, 0x00},
        {0x16, 0x00, 0x12, 0x00, 0x0A, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00},
        Bytes(8, 0x00),
        {0x06, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x80, 0xFF, 0x7F},
        {0x00},
    });
    ASSERT_EQ(expected.size(), 45u);
    EXPECT_EQ(RecordBytes(85), expected);
}

TEST(WindowDescriptionBytes, PolishTextsAreStoredInMazovia) {
    WindowDescription description = Parsed();
    EXPECT_EQ(description.records[4].text, "\x05" "F4\x01 Czy\x9E\x8D LOG i list\x91");
    EXPECT_EQ(description.records[6].text, "\x05" "F6\x01 Od\x9E" "wie\xA7" "aj");
    EXPECT_EQ(description.records[83].text, "Port UDP nas\x92uchu:");
    EXPECT_TRUE(description.records[20].text.ends_with(" przez u\xA7ytkownika"));
}

// The bottom buttons show their key set off by the markup bytes, and each is
// exactly as wide as its caption.
TEST(WindowDescriptionBytes, BottomButtonsShowKeyAndActionInTheirWidth) {
    WindowDescription description = Parsed();
    const std::pair<std::size_t, const char*> keys[] = {{2, "F12"}, {3, "ESC"}, {4, "F3"},
                                                        {5, "F4"},  {6, "F5"},  {7, "F6"}};
    for (auto [number, key] : keys) {
        const WindowRecord& button = description.records[number - 1];
        EXPECT_EQ(button.kind, RecordKind::Button);
        EXPECT_EQ(button.y, 20);
        EXPECT_TRUE(button.text.starts_with(std::string("\x05") + key + "\x01 ")) << number;
        EXPECT_EQ(static_cast<std::size_t>(button.width), button.text.size()) << number;
    }
}

// --- Reading it back ---------------------------------------------------

TEST(WindowDescriptionReader, ConsumesExactlyTheDescription) {
    WindowDescription description = Parsed();
    EXPECT_EQ(description.size, 4u + 2898u);
    ASSERT_EQ(description.records.size(), kRecordCount);
    EXPECT_EQ(description.controls().size(), 87u);
    EXPECT_EQ(description.records.front().offset, 8u);
    for (std::size_t i = 1; i < description.records.size(); ++i)
        EXPECT_EQ(description.records[i].offset,
                  description.records[i - 1].offset + description.records[i - 1].length);
    EXPECT_EQ(description.records.back().offset + description.records.back().length, description.size);

    const WindowRecord& window = description.window();
    EXPECT_EQ(window.kind, RecordKind::Window);
    EXPECT_EQ(window.id, kCallerIdWindowId);
    EXPECT_EQ(window.flags, 0x0200);
    EXPECT_EQ(window.width, 110);
    EXPECT_EQ(window.height, 23);
    EXPECT_EQ(window.text, "Wybierz");
}

TEST(WindowDescriptionReader, LooksNoFurtherThanTheFirstWordSays) {
    Bytes bytes = DescriptionBytes();
    bytes.insert(bytes.end(), {0xFF, 0xFF, 0x05, 0x00});
    std::string error;
    auto description = ParseWindowDescription(bytes, error);
    ASSERT_TRUE(description.has_value()) << error;
    EXPECT_EQ(description->size, 2902u);

    auto fromHeader = refhost::ParseWindowDescriptionAt(CallerIdWindowDescription(), error);
    ASSERT_TRUE(fromHeader.has_value()) << error;
    EXPECT_EQ(fromHeader->size, 2902u);
    EXPECT_EQ(fromHeader->records.size(), kRecordCount);
}

TEST(WindowDescriptionReader, InputLinesCarryTheirLimits) {
    WindowDescription description = Parsed();
    const WindowRecord& nip = description.records[27];
    ASSERT_TRUE(nip.input.has_value());
    EXPECT_EQ(nip.input->type, refhost::InputLine::Type::Text);
    EXPECT_EQ(nip.input->headerLength, 38);
    EXPECT_EQ(nip.input->maxLength, 16);

    const WindowRecord& port = description.records[84];
    ASSERT_TRUE(port.input.has_value());
    EXPECT_EQ(port.input->type, refhost::InputLine::Type::Number);
    EXPECT_EQ(port.input->headerLength, 40);
    EXPECT_EQ(port.input->maxLength, 6);
    EXPECT_EQ(port.input->lowerBound, -32767);
    EXPECT_EQ(port.input->upperBound, 32767);
    EXPECT_FALSE(description.records[3].input.has_value());
}

// Accelerators and the hotkey field agree, and static texts carry 0x0800
// there except the one that opens the radio group.
TEST(WindowDescriptionReader, HotkeysFollowTheAccelerators) {
    WindowDescription description = Parsed();
    for (const WindowRecord& control : description.controls()) {
        std::size_t tilde = control.text.find('~');
        if (control.kind == RecordKind::StaticText) {
            EXPECT_EQ(control.hotkey, control.id == kSlotRadioGroupId ? 0 : 0x0800) << control.offset;
        } else if (tilde != std::string::npos) {
            EXPECT_EQ(control.hotkey, static_cast<uint8_t>(control.text[tilde + 1])) << control.offset;
        } else if (control.id != kExitButtonId) {
            EXPECT_EQ(control.hotkey, 0) << control.offset;
        }
    }
    EXPECT_EQ(description.records[18].hotkey, '0');  // "1~0~"
    EXPECT_EQ(description.records[1].hotkey, 0x8600);
}

// Bit 0x0100 marks exactly the controls that reach the window procedure as
// commands, and bit 0x0400 exactly those bound to the data record, apart
// from the radio group's opener, which holds its group's field.
TEST(WindowDescriptionReader, FlagsMarkCommandsAndDataCarriers) {
    WindowDescription description = Parsed();
    std::set<uint16_t> commands;
    for (const WindowRecord& control : description.controls()) {
        if (control.HasFlag(refhost::kFlagReachesProcedure)) commands.insert(control.id);
        bool opener = control.data && control.data->type == DataField::Type::RadioGroup;
        EXPECT_EQ(control.HasFlag(refhost::kFlagCarriesData), control.data.has_value() && !opener)
            << control.offset;
    }
    std::set<uint16_t> expected = {kShowLogButtonId, kClearLogButtonId, kSaveButtonId,
                                   kRefreshButtonId, kPingButtonId,     kChooseFileButtonId};
    for (int slot = 0; slot < 10; ++slot) expected.insert(kFirstSlotRadioId + slot);
    EXPECT_EQ(commands, expected);
}

TEST(WindowDescriptionReader, SlotRowsLieOnTheirLinesWithTheirIds) {
    WindowDescription description = Parsed();
    const uint16_t callTimeIds[10] = {0x410E, 0x4118, 0x4122, 0x412C, 0x4136,
                                      0x4140, 0x414A, 0x4154, 0x415E, 0x417C};
    for (int slot = 0; slot < 10; ++slot) {
        const WindowRecord* row = &description.records[23 + 6 * slot];
        const RecordKind kinds[6] = {RecordKind::StaticText, RecordKind::InputLine, RecordKind::InputLine,
                                     RecordKind::StaticText, RecordKind::InputLine, RecordKind::DisplayField};
        const int columns[6] = {2, 10, 26, 42, 46, 70};
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(row[i].kind, kinds[i]) << "slot " << slot << " control " << i;
            EXPECT_EQ(row[i].x, columns[i]) << "slot " << slot << " control " << i;
            EXPECT_EQ(row[i].y, slot + 2) << "slot " << slot << " control " << i;
        }
        EXPECT_EQ(row[1].id, SlotPhoneInputId(slot));
        EXPECT_EQ(row[2].id, SlotTargetInputId(slot));
        EXPECT_EQ(row[4].id, SlotNipInputId(slot));
        EXPECT_EQ(row[5].id, SlotCallTimeFieldId(slot));
        EXPECT_EQ(SlotCallTimeFieldId(slot), callTimeIds[slot]);
        EXPECT_EQ(row[3].text, "NIP:");
    }
}

// Ids are not keys: the tenth radio button and row 1's phone share one, and
// every unaddressed control has 0xFFFF.
TEST(WindowDescriptionReader, IdentifiersRepeat) {
    WindowDescription description = Parsed();
    auto shared = description.FindControls(0x410B);
    ASSERT_EQ(shared.size(), 2u);
    EXPECT_EQ(shared[0]->kind, RecordKind::RadioButton);
    EXPECT_EQ(shared[0]->text, "1~0~");
    EXPECT_EQ(shared[1]->kind, RecordKind::InputLine);
    EXPECT_EQ(shared[1]->data->offset, RowPhoneOffset(0));
    // The three check boxes, two statics in each of ten rows, "Port UDP
    // nasłuchu:" and "Plik:".
    EXPECT_EQ(description.FindControls(kUnaddressedId).size(), 25u);
}

TEST(WindowDescriptionReader, PingButtonLiesOutsideTheWindow) {
    WindowDescription description = Parsed();
    auto ping = description.FindControls(kPingButtonId);
    ASSERT_EQ(ping.size(), 1u);
    EXPECT_GE(ping[0]->x, description.window().width);
}

// --- The window data record ---------------------------------------------

TEST(WindowDataBinding, LaysOutTheRecordTheWindowCodeUses) {
    WindowDescription description = Parsed();
    EXPECT_EQ(description.dataSize, sizeof(WindowData));
    EXPECT_EQ(description.dataSize, 797u);

    const WindowRecord& group = description.records[8];
    ASSERT_TRUE(group.data.has_value());
    EXPECT_EQ(group.data->type, DataField::Type::RadioGroup);
    EXPECT_EQ(group.data->offset, offsetof(WindowData, selectedSlot));
    EXPECT_EQ(group.data->size, 2u);
    for (uint16_t slot = 0; slot < 10; ++slot) {
        const WindowRecord& radio = description.records[9 + slot];
        ASSERT_TRUE(radio.data.has_value());
        EXPECT_EQ(radio.id, kFirstSlotRadioId + slot);
        EXPECT_EQ(radio.data->type, DataField::Type::RadioButton);
        EXPECT_EQ(radio.data->offset, 0u);
        EXPECT_EQ(radio.data->value, slot);
    }

    const uint16_t bits[3] = {1, 2, 4};
    for (int box = 0; box < 3; ++box) {
        const WindowRecord& check = description.records[20 + box];
        ASSERT_TRUE(check.data.has_value());
        EXPECT_EQ(check.data->type, DataField::Type::CheckBox);
        EXPECT_EQ(check.data->offset, offsetof(WindowData, optionBits));
        EXPECT_EQ(check.data->value, bits[box]);
    }
    EXPECT_EQ(description.records[20].text.substr(0, 3), "~P~");
    EXPECT_EQ(description.records[22].text.substr(0, 3), "~T~");
}

TEST(WindowDataBinding, RowsPortAndFileNameLandAtTheirOffsets) {
    WindowDescription description = Parsed();
    for (int slot = 0; slot < 10; ++slot) {
        const WindowRecord* row = &description.records[23 + 6 * slot];
        const std::size_t rowStart = offsetof(WindowData, rows) + slot * sizeof(WindowDataRow);
        ASSERT_TRUE(row[1].data && row[2].data && row[4].data) << slot;
        EXPECT_EQ(row[1].data->offset, 4u + 59u * slot);
        EXPECT_EQ(row[1].data->offset, rowStart + offsetof(WindowDataRow, phone));
        EXPECT_EQ(row[1].data->size, 21u);
        EXPECT_EQ(row[2].data->offset, 25u + 59u * slot);
        EXPECT_EQ(row[2].data->offset, rowStart + offsetof(WindowDataRow, target));
        EXPECT_EQ(row[2].data->size, 21u);
        EXPECT_EQ(row[4].data->offset, 46u + 59u * slot);
        EXPECT_EQ(row[4].data->offset, rowStart + offsetof(WindowDataRow, nip));
        EXPECT_EQ(row[4].data->size, 17u);
        EXPECT_FALSE(row[0].data || row[3].data || row[5].data) << slot;
    }
    auto port = description.FindControls(kPortInputId);
    ASSERT_EQ(port.size(), 1u);
    EXPECT_EQ(port[0]->data->type, DataField::Type::Number);
    EXPECT_EQ(port[0]->data->offset, 594u);
    EXPECT_EQ(port[0]->data->offset, offsetof(WindowData, port));
    EXPECT_EQ(port[0]->data->size, 2u);

    auto fileName = description.FindControls(kFileNameInputId);
    ASSERT_EQ(fileName.size(), 1u);
    EXPECT_EQ(fileName[0]->data->type, DataField::Type::Text);
    EXPECT_EQ(fileName[0]->data->offset, 596u);
    EXPECT_EQ(fileName[0]->data->offset, offsetof(WindowData, fileName));
    EXPECT_EQ(fileName[0]->data->size, 201u);
}

// --- Damaged descriptions -------------------------------------------------

TEST(WindowDescriptionDamage, TruncatedBytesAreRefused) {
    Bytes whole = DescriptionBytes();
    for (std::size_t cut : {0u, 3u, 7u, 8u, 100u, 1500u, 2901u}) {
        Bytes part(whole.begin(), whole.begin() + cut);
        std::string error = RefusalOf(part);
        EXPECT_TRUE(error.find("truncated") != std::string::npos || error.find("too few") != std::string::npos)
            << cut << ": " << error;
    }
}

// A description cut anywhere and given a header that matches the cut is
// refused: the records can never fill the count. Each cut lives in a buffer
// of its own size, so a read past its end shows under the sanitizers.
TEST(WindowDescriptionDamage, EveryShortenedDescriptionIsRefused) {
    Bytes whole = DescriptionBytes();
    for (std::size_t size = 8; size < whole.size(); ++size) {
        Bytes part(whole.begin(), whole.begin() + size);
        PutU32(part, 0, static_cast<uint32_t>(size - 4));
        PutU16(part, 4, static_cast<unsigned>(size - 8));
        std::string error;
        EXPECT_FALSE(ParseWindowDescription(part, error).has_value()) << size;
        EXPECT_NE(error.find("record"), std::string::npos) << size << ": " << error;
    }
}

TEST(WindowDescriptionDamage, HeaderThatDisagreesWithTheRecordsIsRefused) {
    Bytes tooMany = DescriptionBytes();
    PutU16(tooMany, 6, 88);
    EXPECT_NE(RefusalOf(tooMany).find("record 89 at offset 2902"), std::string::npos);

    Bytes tooFew = DescriptionBytes();
    PutU16(tooFew, 6, 86);
    EXPECT_NE(RefusalOf(tooFew).find("bytes follow the last"), std::string::npos);

    Bytes lengths = DescriptionBytes();
    PutU16(lengths, 4, 2893);
    EXPECT_NE(RefusalOf(lengths).find("records' length 2893"), std::string::npos);

    Bytes noHeader = DescriptionBytes();
    PutU32(noHeader, 0, 3);
    EXPECT_NE(RefusalOf(noHeader).find("does not cover the header"), std::string::npos);
}

TEST(WindowDescriptionDamage, InputLineHeaderLengthOutOfShapeIsRefused) {
    const std::size_t phone = RecordOffset(25);
    auto refusalWithHeaderLength = [&](unsigned headerLength) {
        Bytes bytes = DescriptionBytes();
        PutU16(bytes, phone + 2, headerLength);
        return RefusalOf(bytes);
    };
    EXPECT_NE(refusalWithHeaderLength(0).find("header length 0 is shorter"), std::string::npos);
    EXPECT_NE(refusalWithHeaderLength(19).find("header length 19 is shorter"), std::string::npos);
    EXPECT_NE(refusalWithHeaderLength(39).find("neither 38 (text) nor 40"), std::string::npos);
    EXPECT_NE(refusalWithHeaderLength(200).find("neither 38 (text) nor 40"), std::string::npos);
    EXPECT_NE(refusalWithHeaderLength(0xFFFF).find("needs 65539 bytes"), std::string::npos);

    Bytes repeatedKind = DescriptionBytes();
    PutU16(repeatedKind, phone + 4, 3);
    EXPECT_NE(RefusalOf(repeatedKind).find("repeated kind"), std::string::npos);
}

TEST(WindowDescriptionDamage, RecordsOutOfShapeAreRefused) {
    Bytes noTerminator = DescriptionBytes();
    noTerminator.back() = 'X';
    EXPECT_NE(RefusalOf(noTerminator).find("record 88 at offset " + std::to_string(RecordOffset(88)) + ": the text has no NUL"), std::string::npos);

    Bytes unknownKind = DescriptionBytes();
    PutU16(unknownKind, RecordOffset(24), 7);
    EXPECT_NE(RefusalOf(unknownKind).find("record 24 at offset"), std::string::npos);

    Bytes secondWindow = DescriptionBytes();
    PutU16(secondWindow, RecordOffset(2), 0xFFFF);
    EXPECT_NE(RefusalOf(secondWindow).find("unknown control kind 0xFFFF"), std::string::npos);

    Bytes noWindow = DescriptionBytes();
    PutU16(noWindow, 8, 0);
    EXPECT_NE(RefusalOf(noWindow).find("not the window record"), std::string::npos);

    // Without its opener the radio group has no field to bind to.
    Bytes noOpener = DescriptionBytes();
    PutU16(noOpener, RecordOffset(9), static_cast<unsigned>(RecordKind::DisplayField));
    EXPECT_NE(RefusalOf(noOpener).find("record 10 at offset"), std::string::npos);
}

TEST(WindowDescriptionDamage, ReaderGivenOnlyTheHeaderAddressBoundsTheLength) {
    Bytes header = {0xFF, 0xFF, 0xFF, 0x7F, 0xFB, 0xFF, 0x00, 0x00};
    std::string error;
    EXPECT_FALSE(refhost::ParseWindowDescriptionAt(header.data(), error).has_value());
    EXPECT_NE(error.find("exceeds"), std::string::npos) << error;
}

// Any single damaged byte is either read as another valid description or
// refused with a reason; it never takes the reader past the bytes.
TEST(WindowDescriptionDamage, AnySingleDamagedByteIsReadOrRefusedWithinBounds) {
    const Bytes whole = DescriptionBytes();
    for (std::size_t at = 0; at < whole.size(); ++at) {
        for (uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}, static_cast<uint8_t>(whole[at] ^ 0x01)}) {
            Bytes bytes = whole;
            bytes[at] = value;
            std::string error;
            auto description = ParseWindowDescription(bytes, error);
            if (description) {
                const WindowRecord& last = description->records.back();
                EXPECT_EQ(last.offset + last.length, description->size) << at;
            } else {
                EXPECT_FALSE(error.empty()) << at;
            }
        }
    }
}

// --- The callerid tool --------------------------------------------------------

TEST(WindowDescriptionCommand, WritesTheBytesOrListsTheRecords) {
    test::ProgramResult raw = test::RunProgram(std::string(CALLERID_TOOL_PATH) + " --lang en window-description");
    EXPECT_EQ(raw.exitCode, 0);
    Bytes expected = DescriptionBytes();
    EXPECT_EQ(raw.output, std::string(expected.begin(), expected.end()));

    test::ProgramResult list = test::RunProgram(std::string(CALLERID_TOOL_PATH) + " --lang en window-description --list");
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_NE(list.output.find("88 records"), std::string::npos) << list.output;
    EXPECT_NE(list.output.find("window data record 797 bytes"), std::string::npos);
    EXPECT_NE(list.output.find("\"<05>F4<01> Czyść LOG i listę\""), std::string::npos);
    EXPECT_NE(list.output.find("0x4184 0x0440"), std::string::npos);
    EXPECT_NE(list.output.find("594/2 i16"), std::string::npos);

    test::ProgramResult wrong = test::RunProgram(std::string(CALLERID_TOOL_PATH) + " --lang en window-description --bytes");
    EXPECT_EQ(wrong.exitCode, 2);
}
