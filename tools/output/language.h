// The language the tool speaks: Polish or English, chosen from the system
// (system/station_*.cpp) or forced with --lang, for the whole run.
#pragma once

#include <string_view>

enum class Language { English, Polish };

void UseLanguage(Language language);
Language CurrentLanguage();
// "pl" or "en"; false for anything else.
bool LanguageNamed(std::string_view name, Language& language);
