#include "platforms/web/page.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

// Each call goes to the page's object (apps/page/main.js), which owns the document; the page
// hands it to the game's instance at load, where the bodies find it as `Module.page`.
// clang-format off: the bodies are JavaScript.
EM_JS(void, page_panel_create,
      (int panel, const char* name, int width, int height, int border, int title), {
          Module.page.panelCreate(panel, UTF8ToString(name), width, height, border, title);
      });
EM_JS(void, page_panel_place, (int panel, int placed, int x, int y),
      { Module.page.panelPlace(panel, placed ? {x : x, y : y} : null); });
EM_JS(void, page_panel_show, (int panel), { Module.page.panelShow(panel); });
EM_JS(void, page_panel_hide, (int panel), { Module.page.panelHide(panel); });
EM_JS(void, page_panel_remove, (int panel), { Module.page.panelRemove(panel); });
EM_JS(void, page_panel_caption, (int panel, const char* caption),
      { Module.page.panelCaption(panel, UTF8ToString(caption)); });
EM_JS(void, page_panel_enabled, (int panel, int enabled),
      { Module.page.panelEnabled(panel, !!enabled); });
EM_JS(void, page_request_frame, (int panel), { Module.page.requestFrame(panel); });
EM_JS(void, page_ended, (), { Module.page.ended(); });
EM_JS(void, page_widget_create, (int panel, int control, int kind, const char* name),
      { Module.page.widgetCreate(panel, control, kind, UTF8ToString(name)); });
// A list's rows come as an array of `rowCount` strings, each its own, whatever it holds.
EM_JS(void, page_widget_sync,
      (int panel, int control, double x, double y, double w, double h, int shown, int enabled,
       const char* family, double px, int bold, const char* text, const char* const* rows,
       int rowCount),
      {
          const texts = [];
          for (let i = 0; i < rowCount; ++i)
              texts.push(UTF8ToString(HEAPU32[(rows >> 2) + i]));
          Module.page.widgetSync(panel, control, x, y, w, h, !!shown, !!enabled,
                                 UTF8ToString(family), px, !!bold, UTF8ToString(text), texts);
      });
EM_JS(void, page_focus, (int panel, int control), { Module.page.focus(panel, control); });
// The frame's display list, read in place from the game's memory (page_commands.h).
EM_JS(void, page_paint,
      (int panel, const double* numbers, int count, const unsigned char* strings, int bytes), {
          Module.page.paint(panel, HEAPF64.subarray(numbers >> 3, (numbers >> 3) + count),
                            HEAPU8.subarray(strings, strings + bytes));
      });
EM_JS(int, page_front_panel, (), { return Module.page.frontPanel(); });
EM_JS(void, page_paused, (int panel, int paused), { Module.page.pausedChanged(panel, !!paused); });
EM_JS(void, page_muted, (int muted), { Module.page.mutedChanged(!!muted); });
EM_JS(void, page_picture, (const char* name, const unsigned char* png, int length),
      { Module.page.picture(UTF8ToString(name), HEAPU8.slice(png, png + length)); });
// The page keeps each file as a string of byte values, 0 to 255: a length word then the bytes,
// in memory the caller frees.
EM_JS(unsigned char*, page_storage_read, (const char* key, int maxBytes), {
    const text = Module.page.storageRead(UTF8ToString(key));
    if (text === null)
        return 0;
    const length = Math.min(text.length, maxBytes);
    const at = _malloc(length + 4);
    HEAPU32[at >> 2] = length;
    for (let i = 0; i < length; ++i)
        HEAPU8[at + 4 + i] = text.charCodeAt(i);
    return at;
});
EM_JS(int, page_storage_write, (const char* key, const unsigned char* bytes, int length),
      {
          const view = HEAPU8.subarray(bytes, bytes + length);
          return Module.page.storageWrite(UTF8ToString(key), view) ? 1 : 0;
      });
EM_JS(int, page_storage_copy, (const char* from, const char* to),
      { return Module.page.storageCopy(UTF8ToString(from), UTF8ToString(to)) ? 1 : 0; });
// clang-format on

namespace rtweb::page {

void panelCreate(int panel, const std::string& name, const Frame& frame)
{
    page_panel_create(panel, name.c_str(), frame.clientWidth, frame.clientHeight, frame.borderWidth,
                      frame.titleHeight);
}

void panelPlace(int panel, std::optional<rt::Point> client)
{
    page_panel_place(panel, client ? 1 : 0, client ? client->x : 0, client ? client->y : 0);
}

void panelShow(int panel) { page_panel_show(panel); }
void panelHide(int panel) { page_panel_hide(panel); }
void panelRemove(int panel) { page_panel_remove(panel); }
void panelCaption(int panel, const std::string& caption)
{
    page_panel_caption(panel, caption.c_str());
}
void panelEnabled(int panel, bool enabled) { page_panel_enabled(panel, enabled ? 1 : 0); }
void requestFrame(int panel) { page_request_frame(panel); }
void ended() { page_ended(); }

void widgetCreate(int panel, int control, rt::WidgetKind kind, const std::string& name)
{
    page_widget_create(panel, control, static_cast<int>(kind), name.c_str());
}

void widgetSync(int panel, const rt::WidgetView& view)
{
    std::vector<const char*> rows;
    rows.reserve(view.rows.size());
    for (const std::string& row : view.rows)
        rows.push_back(row.c_str());
    page_widget_sync(panel, view.control, view.box.left, view.box.top, view.box.width,
                     view.box.height, view.shown ? 1 : 0, view.enabled ? 1 : 0, view.family.c_str(),
                     view.px, view.bold ? 1 : 0, view.text.c_str(), rows.data(),
                     static_cast<int>(rows.size()));
}

void focus(int panel, int control) { page_focus(panel, control); }

void paint(int panel, const PageCommands& commands)
{
    page_paint(panel, commands.numbers.data(), static_cast<int>(commands.numbers.size()),
               reinterpret_cast<const unsigned char*>(commands.strings.data()),
               static_cast<int>(commands.strings.size()));
}

int frontPanel() { return page_front_panel(); }
void paused(int panel, bool paused) { page_paused(panel, paused ? 1 : 0); }
void muted(bool muted) { page_muted(muted ? 1 : 0); }

void picture(std::string_view name, std::span<const unsigned char> png)
{
    const std::string named(name);
    page_picture(named.c_str(), png.data(), static_cast<int>(png.size()));
}

std::optional<std::string> storageRead(const std::string& key, std::size_t maxBytes)
{
    const auto most = static_cast<int>(std::min<std::size_t>(maxBytes, INT_MAX - 4));
    unsigned char* block = page_storage_read(key.c_str(), most);
    if (!block)
        return std::nullopt;
    std::uint32_t length = 0;
    std::memcpy(&length, block, sizeof length);
    std::string bytes(reinterpret_cast<const char*>(block + 4), length);
    std::free(block);
    return bytes;
}

bool storageWrite(const std::string& key, std::string_view bytes)
{
    return page_storage_write(key.c_str(), reinterpret_cast<const unsigned char*>(bytes.data()),
                            static_cast<int>(bytes.size())) != 0;
}

bool storageCopy(const std::string& from, const std::string& to)
{
    return page_storage_copy(from.c_str(), to.c_str()) != 0;
}

} // namespace rtweb::page
