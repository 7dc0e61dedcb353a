#include "opponent/PlayerAI.h"

#include <stdexcept>
#include <utility>

using Global::CheckedAdd;
using Global::CheckedMul;

namespace {

// An occupied cell scores far below any empty cell (which scores 200 to 3100), so it never wins the choice while a
// cell is free.
constexpr std::int16_t OccupiedScore = -32512;
constexpr std::int16_t WinScore = 2000;
constexpr std::int16_t BlockScore = 1000;
constexpr std::int16_t LineFactor = 100;

// The win and block trials always use these codes, whatever PlayerNumber holds; only the line counts follow it.
constexpr std::uint8_t WinTrialCode = Global::CodeRed;
constexpr std::uint8_t BlockTrialCode = Global::CodeBlue;

// Puts a probed cell back as it was, even when a trial throws, so no caller ever sees a trial code.
class TrialCell {
public:
    explicit TrialCell(std::uint8_t& Cell) : cell_(Cell), saved_(Cell) {}
    ~TrialCell() { cell_ = saved_; }
    TrialCell(const TrialCell&) = delete;
    TrialCell& operator=(const TrialCell&) = delete;

private:
    std::uint8_t& cell_;
    std::uint8_t saved_;
};

}  // namespace

PlayerAI::PlayerAI() {
    constexpr std::int16_t Weights[3][3] = {
        {2, 3, 2},
        {2, 1, 0},
        {2, 0, 0},
    };
    for (std::int32_t Own = 0; Own < 3; ++Own)
        for (std::int32_t Opponent = 0; Opponent < 3; ++Opponent) lineWeights_(Own, Opponent) = Weights[Own][Opponent];
}

std::uint8_t PlayerAI::PlayerNumber() const { return playerNumber_; }

void PlayerAI::PlayerNumber(std::uint8_t vNewValue) { playerNumber_ = vNewValue; }

std::uint8_t PlayerAI::OpponentCode() const {
    return playerNumber_ == Global::CodeBlue ? Global::CodeRed : Global::CodeBlue;
}

void PlayerAI::ChooseMove(std::int32_t& X, std::int32_t& Y) {
    // Any other player number would count empty cells or nobody as the computer's own and give weights that mean
    // nothing, so it is refused rather than answered with a meaningless move.
    if (playerNumber_ != Global::CodeBlue && playerNumber_ != Global::CodeRed)
        throw std::logic_error("the computer's player number must be 1 or 2 before it chooses a move");

    ScoreMatrix Score;
    for (std::int16_t I = 0; I <= 2; ++I)
        for (std::int16_t J = 0; J <= 2; ++J) Score(I, J) = ScoreCell(I, J);

    X = 0;
    Y = 0;
    FindHighest(Score, X, Y);
}

std::int16_t PlayerAI::ScoreCell(std::int16_t Col, std::int16_t Row) {
    std::uint8_t& Cell = Global::Cells(Col, Row);
    if (Cell != Global::CodeEmpty) return OccupiedScore;

    std::int16_t Score = 0;
    {
        const TrialCell Trial(Cell);
        Cell = WinTrialCode;
        if (Global::CheckWin(Global::Cells, WinTrialCode)) Score = WinScore;
        // Assigned, not added: a cell that completes a line for both sides ranks as a block.
        Cell = BlockTrialCode;
        if (Global::CheckWin(Global::Cells, BlockTrialCode)) Score = BlockScore;
    }
    return CheckedAdd(CheckedMul(HowManyTimesYouCanWinn(Col, Row), LineFactor), Score);
}

void PlayerAI::FindHighest(const ScoreMatrix& RefMatrix, std::int32_t& X, std::int32_t& Y) const {
    for (std::int32_t I = 0; I <= 2; ++I)
        for (std::int32_t J = 0; J <= 2; ++J)
            if (RefMatrix(I, J) > RefMatrix(X, Y)) {
                X = I;
                Y = J;
            }
}

std::int16_t PlayerAI::HowManyTimesYouCanWinn(std::int32_t A, std::int32_t B) const {
    const std::int16_t Col = Global::CheckedInt16(A);
    const std::int16_t Row = Global::CheckedInt16(B);

    // CellOf maps the step 0..2 along a line to that cell's (column, row).
    auto Weigh = [this](auto CellOf) {
        std::int16_t Own = 0;
        std::int16_t Opponent = 0;
        for (std::int16_t Step = 0; Step <= 2; ++Step) {
            const auto [X, Y] = CellOf(Step);
            CountPlace(X, Y, Own, Opponent);
        }
        return lineWeights_(Own, Opponent);
    };

    std::int16_t Total = Weigh([Row](std::int16_t Step) { return std::pair{Step, Row}; });
    Total = CheckedAdd(Total, Weigh([Col](std::int16_t Step) { return std::pair{Col, Step}; }));
    if (Col == Row) Total = CheckedAdd(Total, Weigh([](std::int16_t Step) { return std::pair{Step, Step}; }));
    if (Col + Row == 2)
        Total = CheckedAdd(Total, Weigh([](std::int16_t Step) {
                               return std::pair{Step, static_cast<std::int16_t>(2 - Step)};
                           }));
    return Total;
}

void PlayerAI::CountPlace(std::int16_t X, std::int16_t Y, std::int16_t& Player, std::int16_t& Mot) const {
    const std::uint8_t Code = Global::Cells(X, Y);
    if (Code == playerNumber_) Player = CheckedAdd(Player, 1);
    if (Code == OpponentCode()) Mot = CheckedAdd(Mot, 1);
}
