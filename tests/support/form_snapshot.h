#pragma once

#include "runtime/core/controls.h"
#include "runtime/core/form.h"

#include <charconv>
#include <cstddef>
#include <cstdio>
#include <string>

// A window as plain text: its own line, then one line per control in layout order, each
// `name kind property=value ...`. Twips in their shortest form, colours as the game's colour
// numbers in hex, text quoted, choices by name, and `in=` the picture box a control sits in.
namespace snapshot {

inline std::string text(float value)
{
    char buffer[32];
    return {buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr};
}
inline std::string text(int value) { return std::to_string(value); }
inline std::string text(bool value) { return value ? "true" : "false"; }
inline std::string text(rt::Color color)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(color));
    return buffer;
}
inline std::string text(const std::string& value)
{
    std::string out = "\"";
    for (const char c : value)
        out += c == '"' || c == '\\' ? std::string{'\\', c} : std::string{c};
    return out + '"';
}
inline std::string text(const rt::Font& font)
{
    return text(font.Name) + "," + text(font.Size) + (font.Bold ? ",bold" : "");
}

// A choice by its name, the names in the order the choices are declared; "?" for one not named.
template <class E, std::size_t N> std::string named(E value, const char* const (&names)[N])
{
    const auto i = static_cast<std::size_t>(value);
    return i < N ? names[i] : "?";
}
inline std::string text(rt::ControlKind kind)
{
    return named(kind, {"PictureBox", "Label", "Shape", "Line", "ListBox", "TextBox",
                        "CommandButton", "Timer"});
}
inline std::string text(rt::ShapeKind kind)
{
    return named(kind,
                 {"Rectangle", "Square", "Oval", "Circle", "RoundedRectangle", "RoundedSquare"});
}
inline std::string text(rt::Fill fill)
{
    return named(fill, {"Solid", "Transparent", "DownwardDiagonal"});
}
inline std::string text(rt::Back back) { return named(back, {"Transparent", "Opaque"}); }
inline std::string text(rt::Align align) { return named(align, {"Left", "Right", "Center"}); }
inline std::string text(rt::BorderStyle style) { return named(style, {"Sizable", "FixedDialog"}); }

template <class T> std::string text(const rt::Property<T>& property)
{
    return text(property.value());
}

// One line, built a field at a time: `entry("Left", c.Left)("Top", c.Top)`.
struct Entry {
    std::string line;
    template <class T> Entry& operator()(const std::string& key, const T& value)
    {
        line += " " + key + "=" + text(value);
        return *this;
    }
};

inline std::string controlLine(const rt::Control& control)
{
    Entry e{control.displayName() + " " + text(control.kind())};
    if (const auto* c = dynamic_cast<const rt::BoxControl*>(&control))
        e("Left", c->Left)("Top", c->Top)("Width", c->Width)("Height", c->Height)("Visible",
                                                                                  c->Visible);
    if (const auto* c = dynamic_cast<const rt::PictureBox*>(&control))
        e("BackColor", c->BackColor)("Enabled", c->Enabled)("Picture", c->Picture);
    if (const auto* c = dynamic_cast<const rt::Label*>(&control))
        e("Caption", c->Caption)("BackColor", c->BackColor)("ForeColor", c->ForeColor)(
            "BackStyle", c->BackStyle)("Alignment", c->Alignment)("Font", c->Font);
    if (const auto* c = dynamic_cast<const rt::Shape*>(&control))
        e("Kind", c->Kind)("FillStyle", c->FillStyle)("FillColor", c->FillColor)(
            "BorderVisible", c->BorderVisible)("BorderColor", c->BorderColor)("BorderWidth",
                                                                              c->BorderWidth);
    if (const auto* c = dynamic_cast<const rt::Line*>(&control))
        e("X1", c->X1)("Y1", c->Y1)("X2", c->X2)("Y2", c->Y2)("Visible", c->Visible)(
            "BorderColor", c->BorderColor)("BorderWidth", c->BorderWidth);
    if (const auto* c = dynamic_cast<const rt::ListBox*>(&control)) {
        e("Font", c->Font);
        for (int i = 0; i < c->ListCount(); ++i)
            e("List(" + std::to_string(i) + ")", c->List(i));
    }
    if (const auto* c = dynamic_cast<const rt::TextBox*>(&control))
        e("Text", c->Text)("Font", c->Font);
    if (const auto* c = dynamic_cast<const rt::CommandButton*>(&control))
        e("Caption", c->Caption)("Enabled", c->Enabled)("Default", c->Default)("Font", c->Font);
    if (const auto* c = dynamic_cast<const rt::Timer*>(&control))
        e("Interval", c->Interval)("Enabled", c->Enabled);
    if (const rt::PictureBox* container = control.container())
        e.line += " in=" + container->displayName();
    return e.line;
}

} // namespace snapshot

// The window's line first, then its controls', each ending in a newline.
inline std::string formSnapshot(const rt::Form& form)
{
    snapshot::Entry e{form.name() + " Form"};
    e("Caption", form.Caption)("Left", form.Left)("Top", form.Top)("Width", form.Width)(
        "Height", form.Height)("Visible", form.visible())("Enabled", form.Enabled)(
        "BackColor", form.BackColor)("Picture", form.Picture)("BorderStyle", form.BorderStyle)(
        "KeyPreview", form.KeyPreview)("Pausable", form.pausable);
    std::string text = e.line + '\n';
    for (const rt::Control* control : form.controls())
        text += snapshot::controlLine(*control) + '\n';
    return text;
}
