// The language of the run and the catalogue that speaks it.
#include "output/language.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "output/messages.h"

static Language g_language = Language::English;

void UseLanguage(Language language) { g_language = language; }
Language CurrentLanguage() { return g_language; }

bool LanguageNamed(std::string_view name, Language& language) {
    if (name == "pl") language = Language::Polish;
    else if (name == "en") language = Language::English;
    else return false;
    return true;
}

const char* T(Msg message) { return g_language == Language::Polish ? PolishText(message) : EnglishText(message); }

std::string Say(Msg message, ...) {
    va_list arguments;
    va_start(arguments, message);
    std::string text = FormattedText(T(message), arguments);
    va_end(arguments);
    return text;
}

int Fail(int code, const char* command, Msg message, ...) {
    va_list arguments;
    va_start(arguments, message);
    std::string text = FormattedText(T(message), arguments);
    va_end(arguments);
    PrintTo(stderr, "callerid%s%s: %s\n", *command ? " " : "", command, text.c_str());
    return code;
}
