#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "TokenScanner.h"
#include "core/TextReader.h"

namespace {

// Runs the same reading operation on the game's reader and on the scanner, and describes
// what each did: result, what was read, state, and where the stream stands.
class Mirror {
public:
    explicit Mirror(const std::string& source) : text(source), in(source), scanner(text) {}

    std::string gameStep(int operation)
    {
        std::string read;
        int32_t value = 0;
        bool result = true;
        switch (operation) {
        case 0: result = TextReader::readToken(in, read); break;
        case 1: result = TextReader::readNumber(in, value); read = result ? std::to_string(value) : ""; break;
        case 2: result = static_cast<bool>(in >> read); break;
        case 3: TextReader::skipWhiteSpace(in); break;
        case 4: TextReader::readLine(in, read); break;
        default: result = in.peek() != std::char_traits<char>::eof(); break;
        }
        long at = static_cast<long>(in.rdbuf()->pubseekoff(0, std::ios::cur, std::ios::in));
        return describe(result, read, in.good(), in.fail(), at);
    }

    std::string scannerStep(int operation)
    {
        std::string read;
        int32_t value = 0;
        bool result = true;
        switch (operation) {
        case 0: result = scanner.readToken(read); break;
        case 1: result = scanner.readNumber(value); read = result ? std::to_string(value) : ""; break;
        case 2: result = scanner.readWord(read); break;
        case 3: scanner.skipWhiteSpace(); break;
        case 4: scanner.readLine(read); break;
        default: result = scanner.peek() != -1; break;
        }
        return describe(result, read, scanner.good(), scanner.hasFailed(), static_cast<long>(scanner.offset));
    }

private:
    static std::string describe(bool result, const std::string& read, bool good, bool failed, long at)
    {
        return std::string(result ? "true" : "false") + " [" + read + "] good=" + (good ? "1" : "0") +
               " failed=" + (failed ? "1" : "0") + " at=" + std::to_string(at);
    }

    std::string text;
    std::istringstream in;
    TokenScanner scanner;
};

void expectSameReading(const std::string& text, const std::vector<int>& operations)
{
    Mirror mirror(text);
    for (size_t i = 0; i < operations.size(); ++i) {
        std::string game = mirror.gameStep(operations[i]);
        std::string scanner = mirror.scannerStep(operations[i]);
        ASSERT_EQ(game, scanner) << "operation " << i << " (" << operations[i] << ") on \"" << text << "\"";
    }
}

}

TEST(TokenScanner, ReadsNumbersAsTheStreamDoesEvenGluedToOtherCharacters)
{
    const char* const cases[] = {"12}",  "12abc", "-", "+7 ", "0x10", "007", "1.5", "--3", "2147483647",
                                 "2147483648", "-2147483648", "-2147483649", "99999999999999999999", "\t\n 5", "",
                                 "  \r\n", "}", "-}", "+"};
    for (const char* text : cases)
        expectSameReading(text, {1, 1, 0, 1, 0});
}

TEST(TokenScanner, ReadsTitleLinesAsTheGameDoesWithCarriageReturnsAndLongLines)
{
    std::string exactly(127, 't');
    const std::string cases[] = {"LEVELDEF  The Caves \r\n{", "LEVELDEF\n\n\tDeep\r\r\n{", "LEVELDEF " + exactly + "\r\nx",
                                 "LEVELDEF " + exactly + "u\r\nx", "LEVELDEF " + exactly + "uv\r\n", "LEVELDEF", "LEVELDEF \r"};
    for (const std::string& text : cases)
        expectSameReading(text, {0, 3, 4, 3, 5, 0, 0});
}

TEST(TokenScanner, CutsLongTokensButReadsLongWordsWhole)
{
    std::string long_(200, 'a');
    expectSameReading(long_ + " " + long_ + " 5", {0, 2, 1, 0});
}

TEST(TokenScanner, AgreesWithTheGamesReaderOnRandomTextsAndOperations)
{
    const char alphabet[] = {' ', ' ', '\n', '\r', '\t', '\v', '{', '}', '-', '+', '0', '1', '9', '9', 'a', 'x', '.'};
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        int length = static_cast<int>(random() % 24);
        for (int i = 0; i < length; ++i)
            text.push_back(alphabet[random() % sizeof alphabet]);
        std::vector<int> operations;
        for (int i = 0; i < 8; ++i)
            operations.push_back(static_cast<int>(random() % 6));
        expectSameReading(text, operations);
        if (HasFatalFailure())
            return;
    }
}

TEST(TokenScanner, CountsLinesAndColumnsFromOneWithTabsAsOneColumn)
{
    std::string text = "ab\n\tcd\r\n\nx";
    TokenScanner scanner(text);
    EXPECT_EQ(1, scanner.positionOf(0).line);
    EXPECT_EQ(1, scanner.positionOf(0).column);
    EXPECT_EQ(2, scanner.positionOf(4).line);
    EXPECT_EQ(2, scanner.positionOf(4).column);
    EXPECT_EQ(4, scanner.positionOf(9).line);
    EXPECT_EQ(1, scanner.positionOf(9).column);
    EXPECT_EQ(4, scanner.positionOf(10).line);
    EXPECT_EQ(2, scanner.positionOf(10).column);
}
