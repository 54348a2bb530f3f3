// The host's field service (52435) as the datagram handling relies on it:
// field N of a separated text, cut to the destination's size.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/imports.h"

namespace {

std::string Field(int field, const char* text, int outSize = 21, const char* separators = "\t",
                  int textSize = 1024) {
    char out[64];
    std::memset(out, 'Z', sizeof out);
    CallHost<Host::TakeField>(field, text, out, textSize, outSize, separators);
    EXPECT_LT(strnlen(out, sizeof out), static_cast<std::size_t>(outSize));
    return out;
}

}  // namespace

TEST(TakeField, CountsFieldsFromZeroBetweenSeparators) {
    EXPECT_EQ(Field(0, "a\tb\t\tc\td"), "a");
    EXPECT_EQ(Field(1, "a\tb\t\tc\td"), "b");
    EXPECT_EQ(Field(2, "a\tb\t\tc\td"), "");
    EXPECT_EQ(Field(4, "a\tb\t\tc\td"), "d");
    EXPECT_EQ(Field(5, "a\tb\t\tc\td"), "");
    EXPECT_EQ(Field(0, ""), "");
}

TEST(TakeField, EveryByteOfTheSetSeparatesAndNothingIsStripped) {
    EXPECT_EQ(Field(1, "a;b,c", 21, ";,"), "b");
    EXPECT_EQ(Field(2, "ping\tping\tping\r"), "ping\r");
    EXPECT_EQ(Field(0, " x "), " x ");
}

TEST(TakeField, CopyIsCutToTheDestinationIncludingItsNul) {
    EXPECT_EQ(Field(0, "123456789012345678901234567890"), "12345678901234567890");
    EXPECT_EQ(Field(0, "abc", 1), "");
}
