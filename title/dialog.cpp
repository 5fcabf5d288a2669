#include "title/dialog.h"

#include "runtime/core/runtime.h"
#include "title/form2.h"
#include "wave/form1.h"

namespace title {

void Dialog::OKButton_Click()
{
    Form2().Hide();
    Form1().Show();
    Hide();
}

title::Form2& Dialog::Form2() { return runtime().form<title::Form2>(); }

wave::Form1& Dialog::Form1() { return runtime().form<wave::Form1>(); }

} // namespace title
