#include "runtime/core/hit.h"
#include "runtime/core/runtime.h"

#include <gtest/gtest.h>

namespace {

// A box at (1000, 2000), 600 wide and 400 high, and a mover 100 x 300.
class Field : public rt::Form {
public:
    explicit Field(rt::Runtime& runtime) : rt::Form(runtime, "Field", {4800, 3600, 120, 400})
    {
        Box.place(1000, 2000, 600, 400);
        Mover.place(0, 0, 100, 300);
    }

    rt::PictureBox Box{*this, "Box"};
    rt::Shape Mover{*this, "Mover"};
};

struct PointCase {
    const char* where;
    float x, y;
    bool inside;
};

void PrintTo(const PointCase& c, std::ostream* os) { *os << c.where; }

class StrictlyInside : public ::testing::TestWithParam<PointCase> {
protected:
    rt::Runtime runtime;
    Field& field = runtime.form<Field>();
};

// A point hits a box only strictly inside it: every edge, and every corner, misses.
TEST_P(StrictlyInside, PointAgainstTheBox)
{
    const PointCase& c = GetParam();
    EXPECT_EQ(rt::strictlyInside(c.x, c.y, field.Box), c.inside);
}

// Looking only across (beam tips, sights), height does not matter but the side edges still miss.
TEST_F(StrictlyInside, AcrossLooksOnlyAtTheSideEdges)
{
    EXPECT_TRUE(rt::strictlyAcross(1300, field.Box));
    EXPECT_FALSE(rt::strictlyAcross(1000, field.Box));
    EXPECT_FALSE(rt::strictlyAcross(1600, field.Box));
    EXPECT_TRUE(rt::strictlyAcross(1599.5f, field.Box));
}

INSTANTIATE_TEST_SUITE_P(
    Edges, StrictlyInside,
    ::testing::Values(PointCase{"centre", 1300, 2200, true},
                      PointCase{"just inside the top-left", 1000.5f, 2000.5f, true},
                      PointCase{"just inside the bottom-right", 1599.5f, 2399.5f, true},
                      PointCase{"on the left edge", 1000, 2200, false},
                      PointCase{"on the right edge", 1600, 2200, false},
                      PointCase{"on the top edge", 1300, 2000, false},
                      PointCase{"on the bottom edge", 1300, 2400, false},
                      PointCase{"on the top-left corner", 1000, 2000, false},
                      PointCase{"left of the box", 999, 2200, false},
                      PointCase{"below the box", 1300, 2401, false}));

// The far edges are summed in single precision, as every position is: Top 1 plus Height 2^24 is
// 2^24 in single precision (one more in double), so a point at 2^24 lies on the bottom edge.
TEST_F(StrictlyInside, FarEdgesAreSummedInSinglePrecision)
{
    field.Box.Top = 1;
    field.Box.Height = 16777216;
    EXPECT_FALSE(rt::strictlyInside(1300, 16777216, field.Box));
    EXPECT_TRUE(rt::strictlyInside(1300, 16777214, field.Box));
}

struct CornerCase {
    const char* where;
    float left, top;
    bool topLeftHits, bottomLeftHits;
};

void PrintTo(const CornerCase& c, std::ostream* os) { *os << c.where; }

class CornerInside : public ::testing::TestWithParam<CornerCase> {
protected:
    rt::Runtime runtime;
    Field& field = runtime.form<Field>();
};

// Shots and bombs hit with their top-left corner, the missile and spray with their bottom-left
// (Top + Height): the same mover can hit with one corner and miss with the other.
TEST_P(CornerInside, EachCornerDecidesOnItsOwn)
{
    const CornerCase& c = GetParam();
    field.Mover.Left = c.left;
    field.Mover.Top = c.top;
    EXPECT_EQ(rt::topLeftInside(field.Mover, field.Box), c.topLeftHits);
    EXPECT_EQ(rt::bottomLeftInside(field.Mover, field.Box), c.bottomLeftHits);
}

INSTANTIATE_TEST_SUITE_P(
    Corners, CornerInside,
    ::testing::Values(CornerCase{"wholly inside", 1100, 2010, true, true},
                      CornerCase{"hanging from above", 1100, 1800, false, true},
                      CornerCase{"bottom corner on the top edge", 1100, 1700, false, false},
                      CornerCase{"top inside, bottom below", 1100, 2300, true, false},
                      CornerCase{"left corner on the left edge", 1000, 2010, false, false}));

} // namespace
