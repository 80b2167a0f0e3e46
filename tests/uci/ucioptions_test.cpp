#include <gtest/gtest.h>

#include "ucioptions.h"
#include "ucitext.h"

namespace zarvi {
namespace {

std::string parse(const std::string& text, OptionChange& change) {
    return parseSetOption(splitWords(text), change);
}

TEST(UciOptions, ListedWithTypesDefaultsAndRanges) {
    const std::vector<std::string> lines = optionLines();
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[0], "option name Hash type spin default 8 min 1 max 8000");
    EXPECT_EQ(lines[1], "option name OwnBook type check default false");
    EXPECT_EQ(lines[2], "option name BookFile type string default librito.txt");
    EXPECT_EQ(lines[3], "option name Positional Knowledge type check default true");
    EXPECT_EQ(lines[4], "option name Selectivity type check default true");
    // The weights in the order of the evaluation's terms.
    EXPECT_EQ(lines[5], "option name Centre Weight type spin default 30 min 0 max 100");
    EXPECT_EQ(lines[6], "option name Passed Pawns Weight type spin default 30 min 0 max 100");
    EXPECT_EQ(lines[13], "option name King Safety Weight type spin default 30 min 0 max 100");
    EXPECT_EQ(lines[14], "option name King Attack Weight type spin default 30 min 0 max 100");
    EXPECT_EQ(lines[18], "option name Seventh Rank Weight type spin default 30 min 0 max 100");
}

TEST(UciOptions, HashMegabytesBecomeTheHashSizeFactor) {
    // 33000 entries of 13 bytes and 61957 of 10: just under a megabyte.
    EXPECT_EQ(bytesPerHashFactor(), 1048570);
    EXPECT_EQ(hashFactorForMegabytes(1), 1);
    EXPECT_EQ(hashFactorForMegabytes(8), 8);
    EXPECT_EQ(hashFactorForMegabytes(8000), 8000);
    EXPECT_EQ(hashFactorForMegabytes(0), 1);
    EXPECT_EQ(hashFactorForMegabytes(100000), 8000);
}

TEST(UciOptions, ValuesAreReadByKind) {
    OptionChange change;
    ASSERT_EQ(parse("name Hash value 64", change), "");
    EXPECT_EQ(change.option, hashOption);
    EXPECT_EQ(change.value, 64);

    // Names are matched without regard to case, and may hold blanks.
    ASSERT_EQ(parse("name positional knowledge value FALSE", change), "");
    EXPECT_EQ(change.option, positionalKnowledgeOption);
    EXPECT_EQ(change.value, 0);
    ASSERT_EQ(parse("name OwnBook value true", change), "");
    EXPECT_EQ(change.option, ownBookOption);
    EXPECT_EQ(change.value, 1);

    ASSERT_EQ(parse("name Pins Weight value 0", change), "");
    EXPECT_EQ(change.option, weightOption + 12);
    EXPECT_EQ(change.value, 0);

    ASSERT_EQ(parse("name BookFile value my books/wide.txt", change), "");
    EXPECT_EQ(change.option, bookFileOption);
    EXPECT_EQ(change.text, "my books/wide.txt");
}

TEST(UciOptions, BadChangesAreRefusedAndChangeNothing) {
    const char* const refused[][2] = {
        {"name Hash value 0", "Hash must be a whole number from 1 to 8000, not '0'"},
        {"name Hash value 8001", "Hash must be a whole number from 1 to 8000, not '8001'"},
        {"name Hash value lots", "Hash must be a whole number from 1 to 8000, not 'lots'"},
        {"name Centre Weight value 101", "Centre Weight must be a whole number from 0 to 100, not '101'"},
        {"name Threats Weight value -1", "Threats Weight must be a whole number from 0 to 100, not '-1'"},
        {"name Selectivity value yes", "Selectivity must be true or false, not 'yes'"},
        {"name Selectivity", "Selectivity needs a value"},
        {"name BookFile value", "BookFile needs a value"},
        {"name Contempt value 10", "unknown option 'Contempt'"},
        {"Hash value 8", "setoption needs: name <option> value <value>"},
        {"", "setoption needs: name <option> value <value>"},
    };
    for (const auto& [text, message] : refused) {
        OptionChange change;
        change.option = selectivityOption;
        change.value = 77;
        EXPECT_EQ(parse(text, change), message) << text;
        EXPECT_EQ(change.option, selectivityOption) << text;
        EXPECT_EQ(change.value, 77) << text;
    }
}

}  // namespace
}  // namespace zarvi
