// Every counted text of the tool agrees with its number, by one rule per
// language: Polish "1 bajt", "2 bajty", "5 bajtów" (12 to 14 take the
// last form, 22 to 24 the second); English "1 byte", "2 bytes".
#include <gtest/gtest.h>

#include <string>

#include "output/counted_words.h"
#include "output/language.h"

namespace {

std::string In(Language language, unsigned long long number, Noun noun) {
    UseLanguage(language);
    return Counted(number, noun);
}

}  // namespace

TEST(CountedWords, AgreeWithTheirNumberInBothLanguages) {
    struct Case {
        unsigned long long number;
        const char* polish;
        const char* english;
    };
    for (Case c : {Case{0, "0 bajtów", "0 bytes"}, Case{1, "1 bajt", "1 byte"}, Case{2, "2 bajty", "2 bytes"},
                   Case{4, "4 bajty", "4 bytes"}, Case{5, "5 bajtów", "5 bytes"}, Case{12, "12 bajtów", "12 bytes"},
                   Case{14, "14 bajtów", "14 bytes"}, Case{21, "21 bajtów", "21 bytes"}, Case{22, "22 bajty", "22 bytes"},
                   Case{25, "25 bajtów", "25 bytes"}, Case{112, "112 bajtów", "112 bytes"},
                   Case{5622, "5622 bajty", "5622 bytes"}}) {
        EXPECT_EQ(In(Language::Polish, c.number, Noun::Byte), c.polish);
        EXPECT_EQ(In(Language::English, c.number, Noun::Byte), c.english);
    }
}

TEST(CountedWords, EveryNounHasThreePolishFormsAndTwoEnglishOnes) {
    for (int index = 0; index < static_cast<int>(Noun::Count); ++index) {
        Noun noun = static_cast<Noun>(index);
        std::string one = PolishNoun(noun, NounForm::One), few = PolishNoun(noun, NounForm::Few),
                    many = PolishNoun(noun, NounForm::Many);
        EXPECT_TRUE(!one.empty() && one != few && few != many && one != many) << one << "/" << few << "/" << many;
        EXPECT_NE(std::string(EnglishNoun(noun, NounForm::One)), EnglishNoun(noun, NounForm::Many)) << index;
    }
    EXPECT_EQ(In(Language::Polish, 3, Noun::WholeRecord), "3 pełne rekordy");
    EXPECT_EQ(In(Language::Polish, 13, Noun::WholeRecord), "13 pełnych rekordów");
    EXPECT_EQ(In(Language::English, 1, Noun::WholeRecord), "1 whole record");
}
