#pragma once

#include "platforms/web/page_commands.h"
#include "runtime/presentation/display_list.h"
#include "runtime/presentation/geometry.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What the C++ side of the browser front end asks of the page (apps/page/): panels for windows,
// HTML controls for buttons, text boxes and lists, drawing on each panel's canvas, the browser's
// storage and its clock. Widgets and drawing come in the client area's pixels at the page's zoom;
// the page applies the device's pixel ratio; a panel's frame and place are in the layout's pixels.
// A panel is named by its number, a control by its place in the layout.
namespace rtweb::page {

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

void widgetCreate(int panel, int control, rt::WidgetKind kind, const std::string& name);
void widgetSync(int panel, const rt::WidgetView& view);
// The control that shows the window's focus, or -1 for none.
void focus(int panel, int control);

// A frame's drawing on the panel's canvas, in one call.
void paint(int panel, const PageCommands& commands);

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
