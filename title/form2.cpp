#include "title/form2.h"

#include "runtime/core/runtime.h"
#include "scores/highscores.h"
#include "title/dialog.h"

namespace title {

// A second "Start" only brings the open dialog forward.
void Form2::Start_Click() { Dialog().Show(); }

void Form2::cmdScores_Click() { Highscores().Show(); }

void Form2::Exit_Click() { End(); }

title::Dialog& Form2::Dialog() { return runtime().form<title::Dialog>(); }

scores::Highscores& Form2::Highscores() { return runtime().form<scores::Highscores>(); }

} // namespace title
