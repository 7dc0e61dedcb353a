#pragma once

#include "state/Global.h"

#include <cstdint>

// Scores of one move choice, indexed (column, row).
using ScoreMatrix = Global::Matrix3<std::int16_t>;

// The computer opponent: scores every cell of Global::Cells and names the best one. It never plays the move itself.
class PlayerAI {
public:
    PlayerAI();

    // Cell code of the computer's own pieces; 0 until set, and the move choice requires 1 or 2.
    std::uint8_t PlayerNumber() const;
    void PlayerNumber(std::uint8_t vNewValue);

    // The move choice: answers the column and row to play; (0, 0) when no cell is empty. Global::Cells is left
    // exactly as it was.
    void ChooseMove(std::int32_t& X, std::int32_t& Y);

    // Moves the candidate (X, Y) to the first cell, column by column, whose score beats every earlier one.
    void FindHighest(const ScoreMatrix& RefMatrix, std::int32_t& X, std::int32_t& Y) const;

    // Sum of the line weights of the lines through the empty cell (A, B).
    std::int16_t HowManyTimesYouCanWinn(std::int32_t A, std::int32_t B) const;

    // Adds 1 to Player when cell (X, Y) holds the computer's code, 1 to Mot when it holds the opponent's.
    void CountPlace(std::int16_t X, std::int16_t Y, std::int16_t& Player, std::int16_t& Mot) const;

private:
    std::uint8_t OpponentCode() const;
    // Probes the empty cell with trial codes in Global::Cells and puts it back before answering.
    std::int16_t ScoreCell(std::int16_t Col, std::int16_t Row);

    std::uint8_t playerNumber_ = 0;
    // Weight of one line through an empty cell, indexed (own pieces on it, opponent pieces on it).
    Global::Matrix3<std::int16_t> lineWeights_;
};

namespace Global {

// The program's single opponent, created on first use and released when the user confirms Exit.
PlayerAI& GameAI();
void ReleaseGameAI();

}  // namespace Global
