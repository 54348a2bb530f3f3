// A number with the noun that agrees with it: "1 bajt", "2 bajty",
// "5 bajtów"; "1 byte", "2 bytes". Every counted text of the tool goes
// through Counted; the nouns' forms are in the two catalogues.
#pragma once

#include <string>

enum class Noun { Byte, WholeRecord, Record, Control, Slot, BindErrorLine, ReceiveErrorLine, ListenerRestart, Problem, Count };

// The form a number takes: Polish has three (1; 2-4, 22-24, ... but not
// 12-14; the rest, 0 included), English two (One and Many).
enum class NounForm { One, Few, Many };
NounForm PolishFormOf(unsigned long long number);
NounForm EnglishFormOf(unsigned long long number);

// The noun in a form, from the catalogue of each language.
const char* PolishNoun(Noun noun, NounForm form);
const char* EnglishNoun(Noun noun, NounForm form);

// "N noun" in the language in use.
std::string Counted(unsigned long long number, Noun noun);
