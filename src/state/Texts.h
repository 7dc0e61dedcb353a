#pragma once

#include <string>

// Every text the program shows, each written once.
namespace Texts {

inline constexpr const char* Title = "Tessarin";

// The status line while no game runs: at start-up and once a game has ended.
inline constexpr const char* EndText = "Press new game in the file menu to begin";
// The status line while a game runs.
inline std::string TurnText(bool RedToMove) {
    return std::string("It's player ") + (RedToMove ? "red" : "blue") + "s turn";
}

inline constexpr const char* ExitQuestion = "Do you really want to exit?";
inline constexpr const char* NewGameQuestion = "Do you want to start a new game?";

}  // namespace Texts
