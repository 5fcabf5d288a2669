#include "scores/highscores.h"

#include "runtime/core/runtime.h"

namespace scores {

namespace {

constexpr rt::FormFrame kFrame{5880, 4770, 60, 345};
constexpr rt::Color kHeadingPurple = rt::rgb(0xC0, 0, 0xC0);

// The table every installation starts from, best first.
constexpr const char* kNames[] = {"Vortel", "Grallow", "Turbo-Tinker", "Wendrix", "KRAV",
                                  "Pulsen", "~*~",     "Dabrine",      "Mostyn",  "Quade"};
constexpr const char* kScores[] = {"50000", "25000", "10000", "5000", "2500",
                                   "2000",  "1000",  "500",   "250",  "100"};
constexpr int kRows = 10;

} // namespace

Highscores::Highscores(rt::Runtime& runtime) : Form(runtime, "Highscores", kFrame)
{
    Caption = "Form1";
    BackColor = rt::SystemColor::ActiveBorder;

    Scores.place(840, 1200, 375, 2205);
    Names.place(1320, 1200, 1335, 2205);
    Level.place(2760, 1200, 735, 2205);
    Score.place(3600, 1200, 1215, 2205);
    for (int i = 0; i < kRows; ++i) {
        Scores.AddItem(std::to_string(i + 1));
        Names.AddItem(kNames[i]);
        Level.AddItem("0");
        Score.AddItem(kScores[i]);
    }

    Command1.place(2280, 3960, 1335, 495);
    Command1.Caption = "Exit Scores";
    Command1.onClick = [this] { Command1_Click(); };

    Label1.place(1320, 840, 3495, 375);
    Label1.Caption = "Name         Lvl       Score";
    Label1.Font = {"MS Sans Serif", 13.5f};
    Label1.BackColor = rt::SystemColor::ActiveBorder;

    Label2.place(600, 0, 4815, 735);
    Label2.Caption = "High Scores";
    Label2.Font = {"Lucida Console", 36};
    Label2.ForeColor = kHeadingPurple;
    Label2.BackColor = rt::SystemColor::ActiveBorder;
}

} // namespace scores
