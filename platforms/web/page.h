#pragma once

#include "runtime/presentation/geometry.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What the C++ side of the browser front end asks of the page (apps/page/): panels for windows,
// HTML controls for buttons, text boxes and lists, drawing on each panel's canvas, the browser's
// storage and its clock. Coordinates are the layout's pixels; the page applies the zoom and the
// device's pixel ratio. A panel is named by its number, a control by its place in the layout.
namespace rtweb::page {

enum class WidgetKind { Button = 0, TextBox = 1, ListBox = 2 };

struct Frame {
    int clientWidth;
    int clientHeight;
    int borderWidth; // the left, right and bottom borders
    int titleHeight; // the title bar, its top border included
};

void panelCreate(int panel, const std::string& name, const Frame& frame);
// Where the client area stands on the page's screen, or nothing for the page's own place.
void panelPlace(int panel, std::optional<rt::Point> client);
void panelShow(int panel);
void panelHide(int panel);
void panelRemove(int panel);
void panelCaption(int panel, const std::string& caption);
void panelEnabled(int panel, bool enabled);
// Asks for the panel to be brought up to date at the next animation frame.
void requestFrame(int panel);
void ended();

void widgetCreate(int panel, int control, WidgetKind kind, const std::string& name);
struct WidgetState {
    rt::RectF box;
    bool shown;
    bool enabled;
    std::string fontFamily;
    double fontPx;
    std::string text;              // a button's caption, a text box's text
    std::vector<std::string> rows; // a list's rows
};
void widgetSync(int panel, int control, const WidgetState& state);
// The control that shows the window's focus, or -1 for none.
void focus(int panel, int control);

// Drawing on a panel's canvas, in the layout's pixels.
void beginPaint(int panel);
void endPaint();
void pushClip(const rt::RectF& rect);
void popClip();
void fillRect(const rt::RectF& rect, std::uint32_t rgb, double opacity = 1);
void drawPicture(const std::string& name, double x, double y);
struct ShapeLook {
    int kind;      // rt::ShapeKind
    int fillStyle; // rt::Fill
    std::uint32_t fillRgb;
    double border; // 0 for none
    std::uint32_t borderRgb;
};
void drawShape(const rt::RectF& box, const ShapeLook& look);
void drawLine(double x1, double y1, double x2, double y2, double width, std::uint32_t rgb);
struct TextLook {
    std::string fontFamily;
    double fontPx;
    std::uint32_t rgb;
    int align;            // rt::Align
    bool fixedLineHeight; // lines 1 em apart, the baseline at 0.79 em
};
void drawText(const rt::RectF& box, const std::string& text, const TextLook& look);
// One line of bold text centred in the box both ways: the pause banner's words.
void drawBannerText(const rt::RectF& box, std::string_view text, std::string_view fontFamily,
                    double fontPx, std::uint32_t rgb);

// The panel the player's keys go to now, or 0 for none.
int frontPanel();
// The game paused or resumed on the panel's window.
void paused(int panel, bool paused);
// The game muted or unmuted its sound: the page's mute button shows it and remembers it.
void muted(bool muted);

// Handing the pictures' bytes to the page once, at the start.
void picture(std::string_view name, std::span<const unsigned char> png);

// The browser's local storage, as bytes.
std::optional<std::string> storageRead(const std::string& key, std::size_t maxBytes);
bool storageWrite(const std::string& key, std::string_view bytes);
bool storageCopy(const std::string& from, const std::string& to);

} // namespace rtweb::page
