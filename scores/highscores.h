#pragma once

#include "runtime/core/controls.h"
#include "runtime/core/form.h"

#include <cstdint>
#include <string_view>

namespace rt {
class Runtime;
}
namespace title {
class Dialog;
class Form2;
} // namespace title
namespace wave {
class Form1;
}

namespace scores {

// The ten best results, one list box per column, row 0 the best. Loading the window reads the
// high-score file, merges the game just finished, writes the file back and closes the wave stage.
class Highscores : public rt::Form {
public:
    explicit Highscores(rt::Runtime& runtime);

    rt::ListBox Scores{*this, "Scores"};
    rt::ListBox Names{*this, "Names"};
    rt::ListBox Level{*this, "Level"};
    rt::ListBox Score{*this, "Score"};
    rt::CommandButton Command1{*this, "Command1"};
    rt::Label Label1{*this, "Label1"};
    rt::Label Label2{*this, "Label2"};

    void Form_Load() override;
    void Command1_Click();
    // Closing the table with its frame leaves it as "Exit Scores" does.
    void closeRequested() override { Command1_Click(); }

    // Read, merge, save, then close the wave stage.
    void recordFinishedGame();

private:
    bool readTable();
    bool keepUnreadableCopy();
    void mergeFinishedGame();
    void saveTable();

    wave::Form1& Form1();
    title::Dialog& Dialog();
    title::Form2& Form2();
};

// Game over on either stage: the table takes the finished game, even when it is already open.
void showFinishedGame(rt::Runtime& runtime);
// The wave stage of a finished game when `unloaded` is it: only the table closes the wave stage
// while the game goes on, once it has taken the game.
const wave::Form1* finishedGameStage(const rt::Runtime& runtime, const rt::Form& unloaded);

// The score of a finished game as a whole number: nearest, halves to even, clamped to 32 bits.
std::int32_t wholeScore(double score);
// A stored score field as a number; a field that is not a number counts as 0.
double storedScore(std::string_view field);

} // namespace scores
