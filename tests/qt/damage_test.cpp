#include "paint_regions.h"
#include "qt_windows.h"

#include "runtime/core/controls.h"
#include "runtime/core/form.h"

#include <QPaintEvent>

namespace {

// 100 x 100 pixels: a dot on the window and a box carrying a label of its own.
class Moving : public rt::Form {
public:
    explicit Moving(rt::Runtime& runtime) : Form(runtime, "Moving", {1500, 1500, 60, 450})
    {
        Dot.place(150, 150, 150, 150);
        Dot.FillStyle = rt::Fill::Solid;
        Box.place(750, 750, 450, 450);
        Inner.setContainer(Box);
        Inner.place(0, 0, 300, 150);
        Inner.Caption = "1";
    }
    rt::Shape Dot{*this, "Dot"};
    rt::PictureBox Box{*this, "Box"};
    rt::Label Inner{*this, "Inner"};
};

class PartialRepaint : public QtWindows {
protected:
    Moving& showRecorded()
    {
        Moving& form = show<Moving>();
        window(form).installEventFilter(&regions);
        advance(100);
        regions.painted = {};
        return form;
    }
    template <class Fn> QRect paintedAfter(Fn&& change)
    {
        regions.painted = {};
        runtime.dispatch(std::forward<Fn>(change));
        advance(60);
        return regions.painted.boundingRect();
    }
    PaintRegions regions;
};

// A moving control repaints where it was and where it is, not the whole window.
TEST_F(PartialRepaint, MovedControlRepaintsItsOldAndNewPlaces)
{
    Moving& form = showRecorded();
    const QRect painted = paintedAfter([&] { form.Dot.Left = 450; });
    EXPECT_TRUE(painted.contains(QRect(10, 10, 30, 10))) << "old and new place";
    EXPECT_FALSE(painted.intersects(QRect(50, 50, 30, 30))) << "the box far away";
}

// A box carries its contents: after it moves, a change inside it repaints at its new place.
TEST_F(PartialRepaint, ContentsFollowTheirMovedBox)
{
    Moving& form = showRecorded();
    paintedAfter([&] { form.Box.Top = 0; });
    const QRect painted = paintedAfter([&] { form.Inner.Caption = "2"; });
    EXPECT_TRUE(painted.contains(QRect(50, 0, 20, 10)));
    EXPECT_FALSE(painted.intersects(QRect(50, 50, 20, 10))) << "where the box used to be";
}

// A change to the window itself repaints all of it.
TEST_F(PartialRepaint, WindowChangeRepaintsEverything)
{
    Moving& form = showRecorded();
    const QRect painted = paintedAfter([&] { form.BackColor = rt::rgb(0, 0, 255); });
    EXPECT_EQ(painted, window(form).rect());
}

} // namespace
