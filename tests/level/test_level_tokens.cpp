#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "core/TextReader.h"

TEST(LevelTokens, TokensAreSeparatedByAnyWhiteSpaceIncludingCarriageReturns)
{
    std::istringstream in(" {\ttileset\r\n12\r\r}x \n");
    std::string token;
    const char* expected[] = {"{", "tileset", "12", "}x"};
    for (const char* word : expected) {
        ASSERT_TRUE(TextReader::readToken(in, token));
        EXPECT_EQ(token, word);
    }
    EXPECT_FALSE(TextReader::readToken(in, token));
    EXPECT_EQ(token, "");
}

TEST(LevelTokens, OverlongTokenIsCutAndTheRestOfItDropped)
{
    std::istringstream in(std::string(200, 'a') + "\nnext");
    std::string token;
    ASSERT_TRUE(TextReader::readToken(in, token));
    EXPECT_EQ(token, std::string(127, 'a'));
    ASSERT_TRUE(TextReader::readToken(in, token));
    EXPECT_EQ(token, "next");
}

TEST(LevelTokens, WordWhereANumberBelongsFailsTheStream)
{
    std::istringstream in("-12 +7 x 5");
    int32_t value = 0;
    ASSERT_TRUE(TextReader::readNumber(in, value));
    EXPECT_EQ(value, -12);
    ASSERT_TRUE(TextReader::readNumber(in, value));
    EXPECT_EQ(value, 7);
    EXPECT_FALSE(TextReader::readNumber(in, value));
    EXPECT_FALSE(TextReader::readNumber(in, value));
    std::string token;
    EXPECT_FALSE(TextReader::readToken(in, token));
}

TEST(LevelTokens, NumbersAreDecimalWhateverTheirLeadingZeros)
{
    std::istringstream in("010 0x10");
    int32_t value = 0;
    ASSERT_TRUE(TextReader::readNumber(in, value));
    EXPECT_EQ(value, 10);
    ASSERT_TRUE(TextReader::readNumber(in, value));
    EXPECT_EQ(value, 0);
    std::string token;
    ASSERT_TRUE(TextReader::readToken(in, token));
    EXPECT_EQ(token, "x10");
}

TEST(LevelTokens, LineOfExactlyTheLimitKeepsAllItsCharactersBeforeTheCarriageReturn)
{
    std::string full(127, 'q');
    std::istringstream in(full + "\r\n" + std::string(128, 'r') + "\r\n" + std::string(126, 's') + "\r\r\n");
    std::string line;
    TextReader::readLine(in, line);
    EXPECT_EQ(line, full);
    TextReader::readLine(in, line);
    EXPECT_EQ(line, std::string(127, 'r'));
    // Only the carriage return at the very end belongs to the line end.
    TextReader::readLine(in, line);
    EXPECT_EQ(line, std::string(126, 's') + "\r");
}

TEST(LevelTokens, LineAtTheEndOfTheTextNeedsNoLineFeed)
{
    std::istringstream in("last words");
    std::string line;
    TextReader::readLine(in, line);
    EXPECT_EQ(line, "last words");
    TextReader::readLine(in, line);
    EXPECT_EQ(line, "");
}
