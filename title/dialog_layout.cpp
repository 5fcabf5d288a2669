#include "title/dialog.h"

#include "runtime/core/runtime.h"

namespace title {

namespace {
constexpr rt::FormFrame kFrame{5805, 3000, 60, 450};
// The dialog's client area always opens here on the screen, in twips.
constexpr float kClientLeft = 2760;
constexpr float kClientTop = 3750;
} // namespace

Dialog::Dialog(rt::Runtime& runtime) : Form(runtime, "Dialog", kFrame)
{
    Caption = "Dialog Caption";
    BorderStyle = rt::BorderStyle::FixedDialog;
    Left = kClientLeft - kFrame.designLeft;
    Top = kClientTop - kFrame.designTop;

    OKButton.place(2160, 2280, 1215, 375);
    OKButton.Caption = "OK";
    // A name typed and Enter start the game, as Enter on "OK" does.
    OKButton.Default = true;
    OKButton.onClick = [this] { OKButton_Click(); };

    PlayerName.place(1200, 1200, 3615, 735);
    PlayerName.Text = "New Guy";
    PlayerName.Font = {"MS Sans Serif", 24};

    Label1.place(240, 240, 5295, 615);
    Label1.Caption = "Enter Your Name Below";
    Label1.Font = {"Lucida Console", 20.25f};
}

} // namespace title
