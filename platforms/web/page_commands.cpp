#include "platforms/web/page_commands.h"

#include "runtime/presentation/draw_order.h"

namespace rtweb {

namespace {

class Writer {
public:
    explicit Writer(PageCommands& out) : m_out(&out) {}

    template <class... Numbers> void numbers(Numbers... values)
    {
        (m_out->numbers.push_back(static_cast<double>(values)), ...);
    }
    void code(rt::draw::Code code) { numbers(static_cast<int>(code)); }
    void box(const rt::RectF& box) { numbers(box.left, box.top, box.width, box.height); }
    void shape(const rt::draw::Shape& shape)
    {
        numbers(static_cast<int>(shape.outline));
        box(shape.box);
        numbers(shape.radius);
    }
    void string(const std::string& text)
    {
        numbers(m_out->strings.size(), text.size());
        m_out->strings += text;
    }

private:
    PageCommands* m_out;
};

} // namespace

void PageCommands::write(const std::vector<rt::draw::Command>& commands)
{
    using rt::draw::Code;
    numbers.clear();
    strings.clear();
    Writer out(*this);
    for (const rt::draw::Command& command : commands)
        std::visit(rt::Overloaded{
                       [&](const rt::draw::Clip& clip) {
                           out.code(Code::Clip);
                           out.box(clip.box);
                       },
                       [&](const rt::draw::Unclip&) { out.code(Code::Unclip); },
                       [&](const rt::draw::Fill& fill) {
                           out.code(Code::Fill);
                           out.shape(fill.shape);
                           out.numbers(fill.rgb, static_cast<int>(fill.hatch), fill.opacity);
                       },
                       [&](const rt::draw::Ring& ring) {
                           out.code(Code::Ring);
                           out.shape(ring.outer);
                           out.shape(ring.inner);
                           out.numbers(ring.rgb);
                       },
                       [&](const rt::draw::Band& band) {
                           out.code(Code::Band);
                           for (const rt::PointF& corner : band.corners)
                               out.numbers(corner.x, corner.y);
                           out.numbers(band.rgb);
                       },
                       [&](const rt::draw::Picture& picture) {
                           out.code(Code::Picture);
                           out.string(picture.name);
                           out.numbers(picture.at.x, picture.at.y, picture.scale);
                       },
                       [&](const rt::draw::Text& text) {
                           out.code(Code::Text);
                           out.string(text.text);
                           out.box(text.box);
                           out.string(text.family);
                           out.numbers(text.px, text.rgb, text.bold ? 1 : 0,
                                       static_cast<int>(text.align), static_cast<int>(text.layout));
                       },
                   },
                   command);
}

} // namespace rtweb
