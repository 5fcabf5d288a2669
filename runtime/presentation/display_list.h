#pragma once

#include "runtime/presentation/geometry.h"
#include "runtime/presentation/zoom.h"

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace rt {

class Form;
enum class ControlKind;
struct PauseBanner;

// What a painter draws a window's client area with, in the client area's pixels (the layout
// zoomed and centred): every place, size and rounding is decided here, so the desktop and the
// page cannot draw a form differently. A painter only executes the commands, in order.

namespace draw {

// The outline a fill or a border follows.
enum class Outline : std::uint8_t { Rectangle = 0, Ellipse = 1, RoundedRectangle = 2 };
// How a fill covers its outline: a solid colour, or lines running down to the right.
enum class Hatch : std::uint8_t { Solid = 0, DownwardDiagonal = 1 };
// How a text sits in its box.
enum class TextLayout : std::uint8_t {
    Wrapped = 0,   // word-wrapped from the top, lines at the face's own spacing
    WrappedEm = 1, // the same, lines 1 em apart with the baseline 0.79 em below the top
    Centred = 2,   // one line centred both ways: the pause banner's words
};
// Where a text line starts.
enum class TextAlign : std::uint8_t { Left = 0, Right = 1, Centre = 2 };

struct Shape {
    Outline outline = Outline::Rectangle;
    RectF box;
    double radius = 0; // the corners' of a rounded rectangle
};

// Everything drawn until the matching Unclip is cut to `box` as well.
struct Clip {
    RectF box;
};
struct Unclip {};
struct Fill {
    Shape shape;
    std::uint32_t rgb = 0; // 0xRRGGBB
    Hatch hatch = Hatch::Solid;
    double opacity = 1;
};
// A border: what lies inside `outer` and outside `inner`.
struct Ring {
    Shape outer;
    Shape inner;
    std::uint32_t rgb = 0;
};
// A line, as the band its width covers, cut square at its ends: four corners in order.
struct Band {
    PointF corners[4];
    std::uint32_t rgb = 0;
};
// A picture of the game's, its top left corner at `at`, its pixels `scale` wide.
struct Picture {
    std::string name;
    PointF at;
    double scale = 1;
};
struct Text {
    std::string text; // lines break at "\n" and "\r\n" too
    RectF box;        // the text is cut to it
    std::string family;
    double px = 0; // the face's size
    std::uint32_t rgb = 0;
    bool bold = false;
    TextAlign align = TextAlign::Left;
    TextLayout layout = TextLayout::Wrapped;
};

using Command = std::variant<Clip, Unclip, Fill, Ring, Band, Picture, Text>;

// Each command's number where a list is written out as numbers (the page's buffer): its place
// in Command.
enum class Code : std::uint8_t {
    Clip = 0,
    Unclip = 1,
    Fill = 2,
    Ring = 3,
    Band = 4,
    Picture = 5,
    Text = 6,
};
static_assert(std::variant_size_v<Command> == 7 &&
              std::is_same_v<std::variant_alternative_t<6, Command>, Text>);

} // namespace draw

// The kinds of the page's widgets: real buttons, text boxes and lists over the canvas.
enum class WidgetKind : std::uint8_t { Button = 0, TextBox = 1, ListBox = 2 };

// A button, text box or list as a front end shows it: its box on the client area (in its
// pixels, its container's place added) and what it says.
struct WidgetView {
    int control = 0; // its place in the form's controls
    WidgetKind kind = WidgetKind::Button;
    RectF box;
    bool shown = false;
    bool enabled = true;
    std::string family;
    double px = 0; // whole pixels
    bool bold = false;
    std::string text;              // a button's caption, a text box's text
    std::vector<std::string> rows; // a list's rows
};

// The widget that shows a control of this kind; none for those drawn on the window.
std::optional<WidgetKind> widgetKindOf(ControlKind kind);

// The form's widgets as they are now.
std::vector<WidgetView> widgetViews(const Form& form, const Zoom& zoom);

// What repainting `damaged` (in the layout's pixels) of a form takes: the damaged places merged
// where they overlap, each drawn on its own clip, the window's back colour and picture, then each
// container's lines, shapes and labels in layout order and its picture boxes over them. With a
// `banner` (the game paused on the form), its band is repainted whole once any of it is damaged,
// and the banner drawn over the fresh pixels.
std::vector<draw::Command> displayList(const Form& form, const Region& damaged, const Zoom& zoom,
                                       const PauseBanner* banner);

} // namespace rt
