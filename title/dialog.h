#pragma once

#include "runtime/core/controls.h"
#include "runtime/core/form.h"

namespace rt {
class Runtime;
}
namespace wave {
class Form1;
}

namespace title {

class Form2;

// The name dialog. It is only ever hidden, so the name typed last stays for the next game.
class Dialog : public rt::Form {
public:
    explicit Dialog(rt::Runtime& runtime);

    rt::CommandButton OKButton{*this, "OKButton"};
    rt::TextBox PlayerName{*this, "PlayerName"};
    rt::Label Label1{*this, "Label1"};

    void OKButton_Click();
    // Closing the dialog with its frame only hides it, like every other way out of it.
    void closeRequested() override { Hide(); }

private:
    title::Form2& Form2();
    wave::Form1& Form1();
};

} // namespace title
