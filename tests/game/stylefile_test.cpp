#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "game/settings.h"
#include "game/stylefile.h"

namespace zarvi {
namespace {

namespace fs = std::filesystem;

// Settings restored after each test, and a fresh folder to write files into.
class StyleFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = settings;
        settings = Settings{};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::temp_directory_path() / (std::string("zarvi-style-") + info->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        settings = saved;
        fs::remove_all(folder);
    }

    std::string write(const std::string& name, const std::string& text) {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    void read(const std::string& text) { ASSERT_TRUE(readStyleFile(write("estilo.ini", text).c_str())); }

    fs::path folder;

private:
    Settings saved;
};

// A file with every value at a non-default setting.
const char* const changedStyle =
    "hash=3 book=0 resign=0 resignlevel=8 depth=5\n-\n"
    "w1=1 w2=2 w3=3 w4=4 w5=5 w6=6 w7=7 w8=8 w9=9 w10=10 w11=11 w12=12 w13=13 w14=14\n*\n";

TEST_F(StyleFileTest, TheExampleFileSetsEveryDefault) {
    read(changedStyle);
    read("hash=8 book=1 resign=1 resignlevel=6 depth=0\n-\n"
         "w1=30 w2=30 w3=30 w4=30 w5=30 w6=30 w7=30 w8=30 w9=30 w10=30 w11=30 w12=30 w13=30 w14=30\n*\n");
    EXPECT_EQ(settings.hashSizeFactor, 8);
    EXPECT_EQ(settings.useBook, 1);
    EXPECT_EQ(settings.canResign, 1);
    EXPECT_EQ(settings.resignThreshold, -1500);
    for (int j = 1; j <= evalWeightCount; ++j) EXPECT_EQ(settings.evalWeights[j], 30) << j;
    // Depth 0 leaves the depth fixed by the first file as it was.
    EXPECT_EQ(settings.maxDepth, 5);
}

TEST_F(StyleFileTest, EachValueLandsInItsSetting) {
    read(changedStyle);
    EXPECT_EQ(settings.hashSizeFactor, 3);
    EXPECT_EQ(settings.useBook, 0);
    EXPECT_EQ(settings.canResign, 0);
    EXPECT_EQ(settings.resignThreshold, -2000);
    EXPECT_EQ(settings.fixedDepth, 1);
    EXPECT_EQ(settings.maxDepth, 5);
    EXPECT_EQ(settings.minStopDepth, 6);
    EXPECT_EQ(settings.depthFromStyle, 1);
    for (int j = 1; j <= evalWeightCount; ++j) EXPECT_EQ(settings.evalWeights[j], j) << j;
    // Untouched by any file.
    EXPECT_EQ(settings.positionalKnowledge, 1);
    EXPECT_EQ(settings.showGrid, 1);
    EXPECT_EQ(settings.levelSeconds, 5);
}

TEST_F(StyleFileTest, HashSizeFactorIsLimited) {
    read("=0");
    EXPECT_EQ(settings.hashSizeFactor, 1);
    read("=9000");
    EXPECT_EQ(settings.hashSizeFactor, 8000);
    read("=8000");
    EXPECT_EQ(settings.hashSizeFactor, 8000);
    // 4294967297 is 1 modulo 2^32: a huge number means the top, not a wrap.
    read("=4294967297");
    EXPECT_EQ(settings.hashSizeFactor, 8000);
    read("=000000000000000000000007");
    EXPECT_EQ(settings.hashSizeFactor, 7);
}

TEST_F(StyleFileTest, ResignValueIsMinus250Times) {
    read("= = =0 =0");
    EXPECT_EQ(settings.resignThreshold, 0);
    read("= = = =1");
    EXPECT_EQ(settings.resignThreshold, -250);
    // The largest multiple of 250 that is still a 32-bit number.
    read("= = = =99999999999999999999");
    EXPECT_EQ(settings.resignThreshold, -2147483500);
    read("= = = =8589934");
    EXPECT_EQ(settings.resignThreshold, -2147483500);
}

TEST_F(StyleFileTest, FlagsAreOnForAnyNonZeroNumber) {
    read("=8 book=7 resign=4294967296");
    EXPECT_EQ(settings.useBook, 1);
    EXPECT_EQ(settings.canResign, 1);
    read("=8 book=0 resign=00");
    EXPECT_EQ(settings.useBook, 0);
    EXPECT_EQ(settings.canResign, 0);
}

TEST_F(StyleFileTest, DepthIsFixedWithinOneTo24OrLeftFree) {
    read("= = = = depth=30");
    EXPECT_EQ(settings.fixedDepth, 1);
    EXPECT_EQ(settings.maxDepth, 24);
    EXPECT_EQ(settings.minStopDepth, 25);
    EXPECT_EQ(settings.depthFromStyle, 1);

    settings = Settings{};
    read("= = = = depth=0");
    EXPECT_EQ(settings.fixedDepth, 0);
    EXPECT_EQ(settings.maxDepth, 24);
    EXPECT_EQ(settings.minStopDepth, 4);
    EXPECT_EQ(settings.depthFromStyle, 0);

    read("= = = = depth=77777777777 sixth=3");
    EXPECT_EQ(settings.maxDepth, 24);
    EXPECT_EQ(settings.depthFromStyle, 1);
}

TEST_F(StyleFileTest, WeightsAreLimitedAndOnlyFourteenRead) {
    std::string text = "hash=8 -";
    for (int j = 1; j <= 16; ++j) text += " w" + std::to_string(j) + "=" + (j == 2 ? "250" : j == 3 ? "9999999999" : "40");
    read(text);
    EXPECT_EQ(settings.evalWeights[1], 40);
    EXPECT_EQ(settings.evalWeights[2], 100);
    EXPECT_EQ(settings.evalWeights[3], 100);
    EXPECT_EQ(settings.evalWeights[14], 40);
    // The store after the weights (the depth) is not written by extra signs.
    EXPECT_EQ(settings.fixedDepth, 0);
    EXPECT_EQ(settings.maxDepth, 24);
    EXPECT_EQ(settings.minStopDepth, 4);
}

TEST_F(StyleFileTest, FewerSignsChangeOnlyWhatTheyReach) {
    read(changedStyle);
    read("hash=5 book=1 -");
    EXPECT_EQ(settings.hashSizeFactor, 5);
    EXPECT_EQ(settings.useBook, 1);
    EXPECT_EQ(settings.canResign, 0);
    EXPECT_EQ(settings.resignThreshold, -2000);
    EXPECT_EQ(settings.maxDepth, 5);
    read("- w1=50 w2=60 *");
    EXPECT_EQ(settings.hashSizeFactor, 5);
    EXPECT_EQ(settings.evalWeights[1], 50);
    EXPECT_EQ(settings.evalWeights[2], 60);
    EXPECT_EQ(settings.evalWeights[3], 3);
}

TEST_F(StyleFileTest, SectionsEndWhereTheTextEnds) {
    // No "-": everything is section 1, so no weight changes.
    read("a=2 b=0 c=1 d=4 e=0 f=50 g=50");
    EXPECT_EQ(settings.hashSizeFactor, 2);
    EXPECT_EQ(settings.useBook, 0);
    EXPECT_EQ(settings.resignThreshold, -1000);
    for (int j = 1; j <= evalWeightCount; ++j) EXPECT_EQ(settings.evalWeights[j], 30) << j;
    // No "*": section 2 runs to the end.
    read("-=10=20");
    EXPECT_EQ(settings.evalWeights[1], 10);
    EXPECT_EQ(settings.evalWeights[2], 20);
    // Reading stops at the first "*", even before the "-".
    read("=6*=0=0=0-=1");
    EXPECT_EQ(settings.hashSizeFactor, 6);
    EXPECT_EQ(settings.useBook, 0);
    EXPECT_EQ(settings.evalWeights[1], 10);
    // Whatever follows the "*" is not read.
    read("=6-=70*=71=72");
    EXPECT_EQ(settings.evalWeights[1], 70);
    EXPECT_EQ(settings.evalWeights[2], 20);
}

TEST_F(StyleFileTest, AtMostOneCharacterBeforeTheDigits) {
    read("hash= 12 book=x0 resign=  1");
    EXPECT_EQ(settings.hashSizeFactor, 12);
    EXPECT_EQ(settings.useBook, 0);
    // Two blanks: no number, which is 0.
    EXPECT_EQ(settings.canResign, 0);
    // A number cut short by the end of the file is what was there.
    read("hash=");
    EXPECT_EQ(settings.hashSizeFactor, 1);
}

TEST_F(StyleFileTest, OnlyTheFirstThousandCharactersCount) {
    std::string text = "hash=9 -";
    text.append(styleTextLimit - 2 - text.size(), ' ');
    text += "=75";  // "=" and "7" are the last counted characters
    text += " =60 =61";
    ASSERT_EQ(text.find('7'), std::size_t(styleTextLimit - 1));
    read(text);
    EXPECT_EQ(settings.hashSizeFactor, 9);
    EXPECT_EQ(settings.evalWeights[1], 7);
    EXPECT_EQ(settings.evalWeights[2], 30);

    // The same through the text entry: a longer length is cut too.
    settings = Settings{};
    applyStyleText(text.c_str(), int(text.size()));
    EXPECT_EQ(settings.evalWeights[1], 7);
    EXPECT_EQ(settings.evalWeights[2], 30);
}

TEST_F(StyleFileTest, GarbageKeepsEverySettingInRange) {
    std::mt19937 random(20020328u);
    const std::string alphabet = "==--*0123456789 x\n\xff";
    for (int round = 0; round < 200; ++round) {
        std::string text;
        const int length = int(random() % 1500);
        for (int i = 0; i < length; ++i) {
            // Mostly the characters that matter, sometimes any byte (NUL too).
            text += random() % 4 ? alphabet[random() % alphabet.size()] : char(random() % 256);
        }
        settings = Settings{};
        read(text);
        SCOPED_TRACE(round);
        EXPECT_GE(settings.hashSizeFactor, 1);
        EXPECT_LE(settings.hashSizeFactor, 8000);
        EXPECT_TRUE(settings.useBook == 0 || settings.useBook == 1);
        EXPECT_TRUE(settings.canResign == 0 || settings.canResign == 1);
        EXPECT_LE(settings.resignThreshold, 0);
        EXPECT_EQ(settings.resignThreshold % resignFactor, 0);
        EXPECT_GE(settings.maxDepth, 1);
        EXPECT_LE(settings.maxDepth, 24);
        EXPECT_EQ(settings.minStopDepth, settings.fixedDepth ? settings.maxDepth + 1 : 4);
        for (int j = 1; j <= evalWeightCount; ++j) {
            EXPECT_GE(settings.evalWeights[j], 0);
            EXPECT_LE(settings.evalWeights[j], 100);
        }
        ASSERT_FALSE(HasFailure());
    }
}

// readStyleFile() looks in the working directory.
class WorkingFolder {
public:
    explicit WorkingFolder(const fs::path& folder) : previous(fs::current_path()) { fs::current_path(folder); }
    ~WorkingFolder() { fs::current_path(previous); }

private:
    fs::path previous;
};

TEST_F(StyleFileTest, MissingFilesLeaveTheDefaults) {
    EXPECT_FALSE(readStyleFile((folder / "absent.ini").string().c_str()));
    const WorkingFolder here(folder);
    readStyleFile();
    const Settings defaults;
    EXPECT_EQ(settings.hashSizeFactor, defaults.hashSizeFactor);
    EXPECT_EQ(settings.useBook, defaults.useBook);
    EXPECT_EQ(settings.resignThreshold, defaults.resignThreshold);
    EXPECT_EQ(settings.evalWeights[1], defaults.evalWeights[1]);
}

TEST_F(StyleFileTest, EstiloIsReadBeforeStyle) {
    write("style.ini", "hash=4 book=0 -=90");
    {
        const WorkingFolder here(folder);
        readStyleFile();
    }
    EXPECT_EQ(settings.hashSizeFactor, 4);
    EXPECT_EQ(settings.useBook, 0);
    EXPECT_EQ(settings.evalWeights[1], 90);

    settings = Settings{};
    write("estilo.ini", "hash=3");
    {
        const WorkingFolder here(folder);
        readStyleFile();
    }
    EXPECT_EQ(settings.hashSizeFactor, 3);
    EXPECT_EQ(settings.useBook, 1);
    EXPECT_EQ(settings.evalWeights[1], 30);
}

}  // namespace
}  // namespace zarvi
