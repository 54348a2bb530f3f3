// Fuzz target: the reference host's INI reading. An input gives an INI
// file, a key to set in it, a value to read into fields of a format, and
// the two settings files the plug-in reads at every start. Properties:
// a key set and written reads back (and no other key changes); a value
// that does not match its format leaves every field as it was, and one
// that matches stays inside its fields; the plug-in's settings, once saved
// and loaded, load back the same.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "ini/ini_file.h"
#include "plumbing/ini_value.h"
#include "storage/settings.h"

namespace {

using refhost::IniFile;
using refhost::IniTarget;

std::string Trimmed(std::string text) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.back())) text.pop_back();
    std::size_t start = 0;
    while (start < text.size() && blank(text[start])) ++start;
    return text.substr(start);
}

// Names the INI format can hold at all: one line, no blanks at the ends,
// and for a key nothing that would make its line a comment, a section or
// another key.
bool UsableSection(const std::string& name) {
    return name.find('\n') == std::string::npos && Trimmed(name) == name;
}

bool UsableKey(const std::string& key) {
    return !key.empty() && key.find_first_of("\n=") == std::string::npos && Trimmed(key) == key &&
           key[0] != ';' && key[0] != '#' && key[0] != '[';
}

void FuzzIniFile(FuzzedDataProvider& input) {
    const std::string path = "fuzz.ini";
    fuzz::WriteWhole(path, input.ConsumeRandomLengthString(4000));
    std::string section = input.ConsumeRandomLengthString(12);
    std::string key = input.ConsumeRandomLengthString(12);
    std::string otherSection = input.ConsumeRandomLengthString(12);
    std::string otherKey = input.ConsumeRandomLengthString(12);
    std::string value = input.ConsumeRandomLengthString(80);

    std::vector<std::string> problems;
    IniFile file = IniFile::Read(path, problems);
    std::optional<std::string> otherBefore = file.Get(otherSection, otherKey);
    if (!UsableSection(section) || !UsableKey(key) || value.find('\n') != std::string::npos) return;
    file.Set(section, key, value);
    std::string error;
    fuzz::Require(file.Write(path, error), "an INI file in a writable directory is written");

    IniFile reread = IniFile::Read(path, problems);
    std::optional<std::string> got = reread.Get(section, key);
    fuzz::Require(got && *got == Trimmed(value), "a key set and written reads back");
    auto lower = [](std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    if (lower(otherSection) != lower(section) || lower(otherKey) != lower(key))
        fuzz::Require(reread.Get(otherSection, otherKey) == otherBefore, "setting one key changes no other");
}

// Fields of exactly their sizes on the heap, filled with a pattern, so
// that a store past a field or a store after a refusal shows.
struct Field {
    std::unique_ptr<uint8_t[]> bytes;
    std::size_t size;
};

void FuzzValue(FuzzedDataProvider& input) {
    std::string format;
    std::vector<IniTarget> targets;
    std::vector<Field> fields;
    int conversions = input.ConsumeIntegralInRange(0, 5);
    for (int i = 0; i < conversions; ++i) {
        format += input.ConsumeBool() ? "," : input.ConsumeRandomLengthString(2);
        IniTarget target{};
        switch (input.ConsumeIntegralInRange(0, 3)) {
            case 0: format += "%d"; target = {IniTarget::Kind::Number, input.ConsumeBool() ? 2 : 4, nullptr}; break;
            case 1: format += "%hd"; target = {IniTarget::Kind::Number, 2, nullptr}; break;
            case 2: format += "%ld"; target = {IniTarget::Kind::Number, 4, nullptr}; break;
            case 3: {
                int width = input.ConsumeIntegralInRange(0, 40);
                format += input.ConsumeBool() ? "%*s" : "%" + std::to_string(width) + "s";
                target = {IniTarget::Kind::Text, width, nullptr};
                break;
            }
        }
        std::size_t size = target.kind == IniTarget::Kind::Number ? static_cast<std::size_t>(target.size)
                                                                   : static_cast<std::size_t>(target.size) + 1;
        Field field{std::unique_ptr<uint8_t[]>(new uint8_t[size]), size};
        std::memset(field.bytes.get(), 0xEE, size);
        target.address = field.bytes.get();
        fields.push_back(std::move(field));
        targets.push_back(target);
    }
    std::string value = input.ConsumeRandomLengthString(200);

    std::string problem;
    bool cut = false;
    bool stored = refhost::ScanIntoTargets(value, format.c_str(), targets, problem, cut);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const Field& field = fields[i];
        bool untouched = true;
        for (std::size_t b = 0; b < field.size; ++b) untouched = untouched && field.bytes[b] == 0xEE;
        if (!stored) fuzz::Require(untouched, "a refused value leaves every field as it was");
        if (stored && targets[i].kind == IniTarget::Kind::Text)
            fuzz::Require(std::memchr(field.bytes.get(), 0, field.size) != nullptr, "a stored text is terminated");
    }
    if (!stored) fuzz::Require(!problem.empty(), "a refused value says why");
}

bool SameSettings(const Settings& a, const Settings& b) {
    return a.noticeFlag == b.noticeFlag && a.options == b.options && a.selectedSlot == b.selectedSlot &&
           a.port == b.port && std::strcmp(a.slotFileName, b.slotFileName) == 0;
}

void Scramble(Settings& settings) {
    std::memset(&settings, 0x37, sizeof settings);
}

void FuzzPluginSettings(FuzzedDataProvider& input) {
    fuzz::WriteWhole("MERLOX.INI", input.ConsumeRandomLengthString(300));
    fuzz::WriteWhole("Ornitel.ini", input.ConsumeRandomLengthString(600));
    Scramble(g_settings);
    LoadSettings();
    fuzz::Require(strnlen(g_settings.slotFileName, sizeof g_settings.slotFileName) < sizeof g_settings.slotFileName,
                  "the slot file name is terminated");
    fuzz::Require(g_settings.port != 0 && g_settings.slotFileName[0] != '\0', "a load fills in the defaults");
    // A saved value may be the stored one made fit for one line; from
    // then on saving and loading must change nothing.
    SaveSettings();
    LoadSettings();
    Settings once = g_settings;
    SaveSettings();
    Scramble(g_settings);
    LoadSettings();
    fuzz::Require(SameSettings(once, g_settings), "saved settings load back the same");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::EnterScratchDirectory();
    fuzz::QuietHost();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    FuzzValue(input);
    FuzzIniFile(input);
    FuzzPluginSettings(input);
    fuzz::ForgetConsoleLines();
    return 0;
}
