#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "eval/settings.h"
#include "game/stylefile.h"

namespace zarvi {
namespace {

namespace fs = std::filesystem;

// Every setting that differs from its default, as "name=value ". The
// defaults are the figures the rules give, not the program's constants.
std::string changes() {
    const Settings& s = settings;
    std::string out;
    const auto note = [&](const std::string& name, int value, int byDefault) {
        if (value != byDefault) out += name + "=" + std::to_string(value) + " ";
    };
    note("hash", s.hashSizeFactor, 8), note("book", s.useBook, 1), note("resign", s.canResign, 1);
    note("threshold", s.resignThreshold, -1500), note("fixed", s.fixedDepth, 0), note("max", s.maxDepth, 24);
    note("stop", s.minStopDepth, 4), note("style", s.depthFromStyle, 0);
    for (int j = 0; j <= 14; ++j) note("w" + std::to_string(j), s.evalWeights[j], j ? 30 : 0);
    return out;
}

// Settings restored after each test, and a fresh folder for the files,
// which is also the working directory that readStyleFile() looks in.
class StyleFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::current_path(folder);
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::remove_all(folder);
        settings = saved;
    }
    static void write(const char* name, const std::string& text) { std::ofstream(name, std::ios::binary) << text; }

    const fs::path previous = fs::current_path();
    const fs::path folder = fs::temp_directory_path() /
                            ("zarvi-style-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    Settings saved = settings;
};

// Only the order of the equals signs counts: the k-th of section 1 (up to
// the first "-") gives style value k, the j-th of section 2 (up to the
// first "*") weight j. Each text is read from a file as at start-up, over
// the defaults.
TEST_F(StyleFileTest, EachValueLandsInItsSettingWithinItsRange) {
    const char* const cases[][2] = {
        {"hash=8 book=1 resign=1 resignlevel=6 depth=0\n-\nw1=30 w2=30 w3=30 w4=30 w5=30 w6=30 w7=30 w8=30 w9=30 "
         "w10=30 w11=30 w12=30 w13=30 w14=30\n*\n", ""},
        {"hash=3 book=0 resign=0 resignlevel=8 depth=5\n-\nw1=1 w2=2 w3=3 w4=4 w5=5 w6=6 w7=7 w8=8 w9=9 w10=10 w11=11 "
         "w12=12 w13=13 w14=14\n*\n",
         "hash=3 book=0 resign=0 threshold=-2000 fixed=1 max=5 stop=6 style=1 w1=1 w2=2 w3=3 w4=4 w5=5 w6=6 w7=7 w8=8 "
         "w9=9 w10=10 w11=11 w12=12 w13=13 w14=14 "},
        // The hash size factor is held to 1..8000; a huge number is the top.
        {"=0", "hash=1 "}, {"=9000", "hash=8000 "}, {"=4294967297", "hash=8000 "}, {"=0000000000007", "hash=7 "},
        // Any number but 0 turns a flag on. The resign value is 250 times
        // minus the number, within 32 bits.
        {"=8 =7 =4294967296", ""}, {"=8 =0 =00", "book=0 resign=0 "}, {"=8 =1 =1 =0", "threshold=0 "},
        {"=8 =1 =1 =1", "threshold=-250 "}, {"=8 =1 =1 =99999999999999999999", "threshold=-2147483500 "},
        // A depth is fixed within 1..24, or left free by 0; a sixth value is nothing.
        {"=8 =1 =1 =6 =30", "fixed=1 stop=25 style=1 "}, {"=8 =1 =1 =6 =1 =3", "fixed=1 max=1 stop=2 style=1 "},
        {"=8 =1 =1 =6 =0", ""},
        // Weights are held to 0..100 and only fourteen are read.
        {"-=30=250=9999999999=30=30=30=30=30=30=30=30=30=30=0=40=40", "w2=100 w3=100 w14=0 "},
        // Fewer values change only what they reach; the sections end where
        // the text ends, and reading ends at the first "*".
        {"hash=5 book=0 -", "hash=5 book=0 "}, {"a=2 b=0 c=1 d=4 e=0 f=50 g=50", "hash=2 book=0 threshold=-1000 "},
        {"-=10=20", "w1=10 w2=20 "}, {"=6*=0=0=0-=1", "hash=6 "}, {"=6-=70*=71=72", "hash=6 w1=70 "},
        // At most one character stands between "=" and the digits.
        {"hash= 12 book=x0 resign=  1", "hash=12 book=0 resign=0 "}, {"hash=", "hash=1 "},
    };
    for (const auto& [text, expected] : cases) {
        settings = Settings{};
        write("estilo.ini", text);
        ASSERT_TRUE(readStyleFile("estilo.ini"));
        EXPECT_EQ(changes(), expected) << text;
    }
    // The style file readStyleFile() finds, over the defaults.
    const auto found = [] {
        settings = Settings{};
        readStyleFile();
        return changes();
    };
    // Only the first 1000 characters count, from a file or from memory:
    // "=" and "7" are the last.
    const std::string longText = "hash=9 -" + std::string(990, ' ') + "=75 =60";
    write("estilo.ini", longText);
    const std::string fromFile = found();
    settings = Settings{};
    applyStyleText(longText.c_str(), int(longText.size()));
    EXPECT_TRUE(fromFile == "hash=9 w1=7 " && changes() == fromFile) << fromFile;

    // Without estilo.ini the program reads style.ini; with both, estilo.ini
    // alone; with neither, the defaults stand.
    fs::remove("estilo.ini");
    EXPECT_EQ(found(), "");
    write("style.ini", "hash=4 book=0 -=90");
    EXPECT_EQ(found(), "hash=4 book=0 w1=90 ");
    write("estilo.ini", "hash=3");
    EXPECT_EQ(found(), "hash=3 ");
}

}  // namespace
}  // namespace zarvi
