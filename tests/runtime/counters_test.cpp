#include "runtime/core/control_array.h"
#include "runtime/core/controls.h"
#include "runtime/core/runtime.h"
#include "runtime/text/counter.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// A status strip: a score counter and an enemy array with a gap at 3.
class Status : public rt::Form {
public:
    explicit Status(rt::Runtime& runtime) : rt::Form(runtime, "Status", {4800, 3600, 120, 400})
    {
        Score.Caption = "0";
        for (int i : {0, 1, 2, 4})
            Enemy.add(i);
    }

    rt::Label Score{*this, "Score"};
    rt::ControlArray<rt::Shape> Enemy{*this, "Enemy"};
};

// A number is written as its shortest decimal text: no exponent, no "-0", no trailing zeros.
TEST(CounterText, NumbersAreWrittenInTheirShortestDecimalForm)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {{212.5, "212.5"}, {-1, "-1"},   {3000, "3000"},   {100000, "100000"},
                 {-0.0, "0"},      {0.1, "0.1"}, {1e7, "10000000"}};
    for (const auto& c : cases)
        EXPECT_EQ(rt::numberText(c.value), c.text) << c.value;
}

// A caption reads back as the number written into it.
TEST(CounterText, CounterRoundTripsThroughACaption)
{
    rt::Runtime runtime;
    Status& status = runtime.form<Status>();
    for (double value : {212.5, -1.0, 100000.0, 0.1}) {
        rt::setCounter(status.Score, value);
        EXPECT_EQ(rt::counter(status.Score), value) << status.Score.Caption.value();
    }
}

// Blanks around a number are allowed; anything else that is not part of it is not.
TEST(CounterText, ParseAcceptsSurroundingBlanksOnly)
{
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {{" 42", 42},           {"42  ", 42},
                 {"\t-7.5 ", -7.5},     {"", std::nullopt},
                 {"  ", std::nullopt},  {"abc", std::nullopt},
                 {"1x", std::nullopt},  {"1 2", std::nullopt},
                 {"inf", std::nullopt}, {"+5", 5},
                 {"+-5", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(rt::parseNumber(c.text), c.value) << '"' << c.text << '"';
}

class MisuseDeathTest : public ::testing::Test {
protected:
    rt::Runtime runtime;
    Status& status = runtime.form<Status>();
};

// A caption that is not a number, read as one, stops a debug build naming the control.
TEST_F(MisuseDeathTest, CaptionThatIsNoNumberNamesTheLabel)
{
#ifdef NDEBUG
    GTEST_SKIP() << "the caption check is compiled out of release builds";
#endif
    status.Score.Caption = "MAX!!";
    EXPECT_DEATH(rt::counter(status.Score), "Score\\.Caption \"MAX!!\" is not a number");
}

// An index missing from a control array stops every build, release too, naming the array and the
// index: a gap, one past the end and a negative index.
TEST_F(MisuseDeathTest, MissingArrayIndexNamesTheMember)
{
    EXPECT_DEATH(status.Enemy(3).Visible = false, "Enemy\\(3\\) is not in the array");
    EXPECT_DEATH(status.Enemy(5).Visible = false, "Enemy\\(5\\) is not in the array");
    EXPECT_DEATH(status.Enemy(-1).Visible = false, "Enemy\\(-1\\) is not in the array");
}

} // namespace
