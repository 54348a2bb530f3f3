// The allowed senders as a host working directory keeps them: Nadawcy= in
// [Ornitel] of Ornitel.ini, read and matched by the plug-in's own rules
// (formats/net/sender_list.h), and written back keeping every other line.
#pragma once

#include <filesystem>
#include <string>

#include "net/sender_list.h"

struct SendersSetting {
    std::filesystem::path file;   // DIR\Ornitel.ini
    std::string text;             // the stored value, empty when missing
    SenderList list;
    int bad = 0;                  // entries that are no address, range or subnet
    std::string firstBad;
};

SendersSetting ReadSenders(const std::filesystem::path& directory);
// The list as it is stored: its entries joined by commas, "*" last.
std::string SendersText(const SenderList& list);
// Writes the value into the file; false with a reason on failure.
bool WriteSenders(const SendersSetting& setting, const std::string& value, std::string& error);
