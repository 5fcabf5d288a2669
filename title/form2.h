#pragma once

#include "runtime/core/controls.h"
#include "runtime/core/form.h"

namespace rt {
class Runtime;
}
namespace scores {
class Highscores;
}

namespace title {

class Dialog;

// The title window: start a game, look at the high-score table, or quit.
class Form2 : public rt::Form {
public:
    explicit Form2(rt::Runtime& runtime);

    rt::Label TItle{*this, "TItle"};
    rt::CommandButton Start{*this, "Start"};
    rt::CommandButton cmdScores{*this, "cmdScores"};
    rt::CommandButton Exit{*this, "Exit"};

    void Start_Click();
    void cmdScores_Click();
    void Exit_Click();

private:
    title::Dialog& Dialog();
    scores::Highscores& Highscores();
};

} // namespace title
