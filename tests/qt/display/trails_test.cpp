// Runs once per device pixel ratio, taken from QT_SCALE_FACTOR (see tests/CMakeLists.txt).

#include "qt_windows.h"

#include "runtime/core/controls.h"
#include "runtime/core/form.h"
#include "wave/form1.h"

#include <QBackingStore>
#include <QPixmap>

#include <functional>
#include <ostream>
#include <string>

namespace {

// 120 x 90 pixels of things that move by fractions of a pixel: a plain oval, a bordered circle,
// a thick line and a box that carries a label.
class Drift : public rt::Form {
public:
    explicit Drift(rt::Runtime& runtime) : Form(runtime, "Drift", {1800, 1350, 60, 450})
    {
        BackColor = rt::rgb(0, 0, 0);
        Shot.setStyle({.Kind = rt::ShapeKind::Oval, .FillColor = rt::rgb(255, 0, 0)});
        Shot.place(100, 1100, 50, 160);
        Bullet.setStyle({.Kind = rt::ShapeKind::Circle,
                         .FillColor = rt::rgb(128, 128, 128),
                         .BorderVisible = true,
                         .BorderColor = rt::rgb(255, 255, 255)});
        Bullet.place(900, 100, 140, 140);
        Beam.BorderColor = rt::rgb(0, 255, 0);
        Beam.BorderWidth = 3;
        Beam.X1 = 1700;
        Beam.Y1 = 0;
        Beam.X2 = 1700;
        Beam.Y2 = 600;
        Box.place(200, 600, 400, 300);
        Box.BackColor = rt::rgb(0, 0, 255);
        Tag.setContainer(Box);
        Tag.place(20, 20, 360, 260);
        Tag.ForeColor = rt::rgb(255, 255, 0);
        Tag.Caption = "0";
    }

    // One step of everything, by amounts that are no whole number of pixels.
    void step(int n)
    {
        Shot.Left = Shot.Left + 23;
        Shot.Top = Shot.Top - 31;
        Bullet.Left = Bullet.Left - 17;
        Bullet.Top = Bullet.Top + 13;
        Beam.X1 = Beam.X1 - 19;
        Beam.X2 = Beam.X2 - 26;
        Box.Left = Box.Left + 11;
        Tag.Caption = std::to_string(n * 7);
    }

    rt::Shape Shot{*this, "Shot"};
    rt::Shape Bullet{*this, "Bullet"};
    rt::Line Beam{*this, "Beam"};
    rt::PictureBox Box{*this, "Box"};
    rt::Label Tag{*this, "Tag"};
};

struct TrailCase {
    const char* scene;
    int zoom;
};

void PrintTo(const TrailCase& c, std::ostream* out) { *out << c.scene << " at zoom " << c.zoom; }

// After many frames of small repaints, what the window holds on screen is what painting it
// whole gives: every changed place was repainted wide enough to leave no trail behind.
class NoTrails : public QtWindows, public ::testing::WithParamInterface<TrailCase> {
protected:
    // Shows the form at the case's zoom, lets `frame` change it between display frames, and
    // compares the screen's copy with a fresh paint of the whole window, device pixel by pixel.
    void expectNoTrails(const rt::Form& form, const std::function<void(int)>& frame)
    {
        QWidget& shown = window(form);
        shown.resize(shown.size() * GetParam().zoom);
        advance(100);
        for (int n = 1; n <= 60; ++n) {
            frame(n);
            advance(17);
        }
        // Nothing moves any more; the last changes reach the screen.
        runtime.dispatch([&form] {
            for (rt::Control* control : form.controls())
                if (control->kind() == rt::ControlKind::Timer)
                    static_cast<rt::Timer*>(control)->Enabled = false;
        });
        advance(100);

        const auto* onScreen = dynamic_cast<const QImage*>(shown.backingStore()->paintDevice());
        ASSERT_NE(onScreen, nullptr);
        const QImage whole = shown.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage held =
            onScreen->convertToFormat(QImage::Format_RGB32).copy(QRect(QPoint(0, 0), whole.size()));
        ASSERT_EQ(held.size(), whole.size());
        QRegion stale;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                if (held.pixel(x, y) != whole.pixel(x, y))
                    stale += QRect(x, y, 1, 1);
        const QRect within = stale.boundingRect();
        EXPECT_TRUE(stale.isEmpty())
            << "device pixels left from earlier frames, within " << within.width() << " x "
            << within.height() << " at (" << within.x() << ", " << within.y() << ")";
    }
};

TEST_P(NoTrails, ScreenMatchesAFreshPaint)
{
    if (std::string(GetParam().scene) == "drift") {
        Drift& drift = show<Drift>();
        expectNoTrails(drift, [&](int n) { runtime.dispatch([&] { drift.step(n); }); });
        return;
    }
    // The wave stage with the player firing: shots, bombs, the march and the score.
    wave::Form1& stage = show<wave::Form1>();
    expectNoTrails(stage, [this, &stage](int n) {
        if (n % 4 == 0)
            press(stage, Qt::Key_Space);
    });
}

INSTANTIATE_TEST_SUITE_P(Scenes, NoTrails,
                         ::testing::Values(TrailCase{"drift", 1}, TrailCase{"drift", 3},
                                           TrailCase{"wave", 1}, TrailCase{"wave", 3}),
                         [](const auto& info) {
                             return std::string(info.param.scene) + "AtZoom" +
                                    std::to_string(info.param.zoom);
                         });

} // namespace
