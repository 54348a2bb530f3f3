// Texts as JSON strings, for the commands' --json output.
#pragma once

#include <string>
#include <string_view>

// A quoted JSON string; control bytes become \u escapes, UTF-8 passes.
std::string JsonString(std::string_view text);
