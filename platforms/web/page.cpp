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
       const char* family, double px, const char* text, const char* const* rows, int rowCount),
      {
          const texts = [];
          for (let i = 0; i < rowCount; ++i)
              texts.push(UTF8ToString(HEAPU32[(rows >> 2) + i]));
          Module.page.widgetSync(panel, control, x, y, w, h, !!shown, !!enabled,
                                 UTF8ToString(family), px, UTF8ToString(text), texts);
      });
EM_JS(void, page_focus, (int panel, int control), { Module.page.focus(panel, control); });
EM_JS(void, page_begin_paint, (int panel), { Module.page.beginPaint(panel); });
EM_JS(void, page_end_paint, (), { Module.page.endPaint(); });
EM_JS(void, page_push_clip, (double x, double y, double w, double h),
      { Module.page.pushClip(x, y, w, h); });
EM_JS(void, page_pop_clip, (), { Module.page.popClip(); });
EM_JS(void, page_fill_rect, (double x, double y, double w, double h, unsigned rgb, double opacity),
      { Module.page.fillRect(x, y, w, h, rgb, opacity); });
EM_JS(void, page_draw_picture, (const char* name, double x, double y),
      { Module.page.drawPicture(UTF8ToString(name), x, y); });
EM_JS(void, page_draw_shape,
      (double x, double y, double w, double h, int kind, int fill, unsigned fillRgb, double border,
       unsigned borderRgb),
      { Module.page.drawShape(x, y, w, h, kind, fill, fillRgb, border, borderRgb); });
EM_JS(void, page_draw_line, (double x1, double y1, double x2, double y2, double width, unsigned rgb),
      { Module.page.drawLine(x1, y1, x2, y2, width, rgb); });
EM_JS(void, page_draw_text,
      (double x, double y, double w, double h, const char* text, const char* family, double px,
       unsigned rgb, int align, int fixedLines),
      {
          Module.page.drawText(x, y, w, h, UTF8ToString(text), UTF8ToString(family), px, rgb,
                               align, !!fixedLines);
      });
EM_JS(void, page_draw_banner_text,
      (double x, double y, double w, double h, const char* text, const char* family, double px,
       unsigned rgb),
      {
          Module.page.drawBannerText(x, y, w, h, UTF8ToString(text), UTF8ToString(family), px,
                                     rgb);
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

void widgetCreate(int panel, int control, WidgetKind kind, const std::string& name)
{
    page_widget_create(panel, control, static_cast<int>(kind), name.c_str());
}

void widgetSync(int panel, int control, const WidgetState& state)
{
    std::vector<const char*> rows;
    rows.reserve(state.rows.size());
    for (const std::string& row : state.rows)
        rows.push_back(row.c_str());
    page_widget_sync(panel, control, state.box.left, state.box.top, state.box.width,
                   state.box.height, state.shown ? 1 : 0, state.enabled ? 1 : 0,
                   state.fontFamily.c_str(), state.fontPx, state.text.c_str(), rows.data(),
                   static_cast<int>(rows.size()));
}

void focus(int panel, int control) { page_focus(panel, control); }

void beginPaint(int panel) { page_begin_paint(panel); }
void endPaint() { page_end_paint(); }
void pushClip(const rt::RectF& r) { page_push_clip(r.left, r.top, r.width, r.height); }
void popClip() { page_pop_clip(); }
void fillRect(const rt::RectF& r, std::uint32_t rgb, double opacity)
{
    page_fill_rect(r.left, r.top, r.width, r.height, rgb, opacity);
}
void drawPicture(const std::string& name, double x, double y)
{
    page_draw_picture(name.c_str(), x, y);
}
void drawShape(const rt::RectF& box, const ShapeLook& look)
{
    page_draw_shape(box.left, box.top, box.width, box.height, look.kind, look.fillStyle,
                  look.fillRgb, look.border, look.borderRgb);
}
void drawLine(double x1, double y1, double x2, double y2, double width, std::uint32_t rgb)
{
    page_draw_line(x1, y1, x2, y2, width, rgb);
}
void drawText(const rt::RectF& box, const std::string& text, const TextLook& look)
{
    page_draw_text(box.left, box.top, box.width, box.height, text.c_str(), look.fontFamily.c_str(),
                 look.fontPx, look.rgb, look.align, look.fixedLineHeight ? 1 : 0);
}

void drawBannerText(const rt::RectF& box, std::string_view text, std::string_view fontFamily,
                    double fontPx, std::uint32_t rgb)
{
    const std::string line(text);
    const std::string family(fontFamily);
    page_draw_banner_text(box.left, box.top, box.width, box.height, line.c_str(), family.c_str(),
                          fontPx, rgb);
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
