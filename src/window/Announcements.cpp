#include "window/Announcements.h"

#include <optional>

#include "window/CellDescription.h"

namespace Announcements {

namespace {

std::string Capitalised(std::string Word) {
    if (!Word.empty() && Word[0] >= 'a' && Word[0] <= 'z') Word[0] = static_cast<char>(Word[0] - 'a' + 'A');
    return Word;
}

void Append(std::string& Text, const std::string& Part) {
    if (Part.empty()) return;
    if (!Text.empty()) Text += ' ';
    Text += Part;
}

}  // namespace

std::string PlacedPieces(const Global::CellMatrix& Before, std::uint8_t FirstCode) {
    std::string Text;
    const std::uint8_t SecondCode = FirstCode == Global::CodeBlue ? Global::CodeRed : Global::CodeBlue;
    for (const std::uint8_t Code : {FirstCode, SecondCode})
        for (std::int32_t Row = 0; Row <= 2; ++Row)
            for (std::int32_t Col = 0; Col <= 2; ++Col)
                if (Before(Col, Row) == Global::CodeEmpty && Global::Cells(Col, Row) == Code)
                    Append(Text, Capitalised(OwnerName(Code)) + ": " + CellPosition(Col, Row) + ".");
    return Text;
}

std::string Outcome() {
    if (const std::optional<WonLine> Won = FindWonLine()) {
        std::string Text = Capitalised(OwnerName(Won->Code)) + " wins: ";
        for (std::int32_t K = 0; K < 3; ++K)
            Text += CellPosition(Won->Line(K).Col, Won->Line(K).Row) + (K < 2 ? "; " : ".");
        return Text;
    }
    return Global::BoardFull() ? "Draw, the board is full." : "";
}

std::string NewGame(bool RedBegins) { return std::string("New game, ") + (RedBegins ? "red" : "blue") + " begins."; }

std::string Option(const std::string& Menu, const std::string& Choice) { return Menu + ": " + Choice + "."; }

std::string Sentence(std::initializer_list<std::string> Parts, const std::string& Status) {
    std::string Text;
    for (const std::string& Part : Parts) Append(Text, Part);
    Append(Text, Status + ".");
    return Text;
}

}  // namespace Announcements
