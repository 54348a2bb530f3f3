// The directories and files a file chooser offers. Paths are the host's:
// Mazovia, with '\' between names, relative to the host's working
// directory unless they start at the root.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace refhost::screen {

struct ListedEntry {
    std::string name;  // Mazovia
    bool directory;
};

// "LOGS\TELEFONY\CLIP.DAT" gives "LOGS\TELEFONY\"; a bare name gives "".
std::string DirectoryPart(std::string_view hostPath);
// A name against a mask of '*' and '?', without regard to case; "*.*"
// takes every name, with or without a dot.
bool MatchesMask(std::string_view name, std::string_view mask);
// "..", the directories, then the files that match the mask, each group
// in name order. Names a Mazovia path cannot hold are left out; a
// directory that cannot be read gives only "..".
std::vector<ListedEntry> ListDirectory(std::string_view hostDirectory, std::string_view mask);
// The directory the user reaches by choosing a directory entry there.
std::string EnterDirectory(std::string_view hostDirectory, std::string_view name);

}  // namespace refhost::screen
