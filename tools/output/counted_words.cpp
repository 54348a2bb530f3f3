// The number agreement of both languages, in one place.
#include "output/counted_words.h"

#include "output/language.h"

NounForm PolishFormOf(unsigned long long number) {
    if (number == 1) return NounForm::One;
    unsigned long long ones = number % 10, tens = number % 100 / 10;
    return ones >= 2 && ones <= 4 && tens != 1 ? NounForm::Few : NounForm::Many;
}

NounForm EnglishFormOf(unsigned long long number) { return number == 1 ? NounForm::One : NounForm::Many; }

std::string Counted(unsigned long long number, Noun noun) {
    const char* word = CurrentLanguage() == Language::Polish ? PolishNoun(noun, PolishFormOf(number))
                                                             : EnglishNoun(noun, EnglishFormOf(number));
    return std::to_string(number) + " " + word;
}
