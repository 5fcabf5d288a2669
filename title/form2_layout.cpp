#include "title/form2.h"

#include "runtime/core/runtime.h"

namespace title {

namespace {
constexpr rt::FormFrame kFrame{7635, 5730, 60, 450};
constexpr rt::Color kTitleBlue = rt::rgb(0x80, 0x80, 0xFF);
const rt::Font kButtonFont{"Lucida Console", 18};
} // namespace

Form2::Form2(rt::Runtime& runtime) : Form(runtime, "Form2", kFrame)
{
    Caption = "Form2";
    Picture = "title";

    TItle.place(1200, 360, 5295, 1695);
    TItle.Caption = "Zelvatron The Mad Vortel Version";
    TItle.Font = {"Lucida Console", 27.75f};
    TItle.ForeColor = kTitleBlue;
    TItle.BackStyle = rt::Back::Transparent; // the title text floats over the picture
    TItle.Alignment = rt::Align::Center;

    Start.place(2400, 2520, 2535, 855);
    Start.Caption = "Start";
    Start.Font = kButtonFont;
    Start.onClick = [this] { Start_Click(); };

    cmdScores.place(2400, 3600, 2535, 855);
    cmdScores.Caption = "HighScores!";
    cmdScores.Font = kButtonFont;
    cmdScores.onClick = [this] { cmdScores_Click(); };

    Exit.place(2880, 4920, 1575, 615);
    Exit.Caption = "EXIT";
    Exit.Font = kButtonFont;
    Exit.onClick = [this] { Exit_Click(); };
}

} // namespace title
