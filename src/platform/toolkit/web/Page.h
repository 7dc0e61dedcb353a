// The page a web front end shows its form in, seen from C++: the calls into the page's script (page.js) and the
// input it hands back. Only plain data crosses: numbers, UTF-8 text, and pixels by their place in the module's
// memory. Controls are named by numbers the front end chooses. Flags, choices and the kinds of input cross by name
// (Page.cpp), and the keys a table answers as a list the front end gives, so that neither side keeps a copy of the
// other's numbers; a press's button and shift codes are the toolkit's own, as every front end reports them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace toolkit::web::page {

// The window's frame: its caption and client area, hidden until Show.
void Open(const std::string& caption, int width, int height);
void Show();
// The window went: the page says the program has ended.
void Close();
// Input stops for good (a handler failed); what is on the page stays.
void Stop();

// A menu item under `parent` (0 for the menu bar), in order.
struct MenuItemView {
    std::string Caption;
    std::string AccessKey;   // the caption's letter that opens a top item with Alt, "" for none
    std::string Shortcut;    // the key that chooses it, as menus show it ("Ctrl+N"), "" for none
    std::string Substitute;  // a key that chooses it too where the browser keeps the shortcut for itself ("F2")
    bool Separator = false;
    bool Submenu = false;
    bool Checkable = false;
    bool Radio = false;  // checkable as one of a group
    bool Checked = false;
    bool Enabled = true;
    bool Visible = true;
};
void AddMenuItem(int id, int parent, const MenuItemView& item);
void UpdateMenuItem(int id, const MenuItemView& item);

struct LabelView {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::string FontName;
    int FontPixels = 0;
    int FontWeight = 400;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
    std::uint32_t Color = 0;      // 0xRRGGBB
    std::uint32_t BackColor = 0;  // 0xRRGGBB, shown when not transparent
    bool Transparent = true;
    std::string Alignment = "left";  // as CSS's text-align names it
    bool StatusLine = false;
};
void AddLabel(int id, const LabelView& label, const std::string& caption);
void UpdateLabel(int id, const std::string& caption);

// The keys a table surface answers, by the names the page's key events give them; a Key event carries the key's
// place in this list. Given once, before any surface.
void TableKeys(std::span<const char* const> names);

// A surface's place and visibility; a table surface also takes the focus and reads as rows × columns cells.
void PlaceSurface(int id, int left, int top, int width, int height, bool visible, int rows, int columns);
void PlaceCell(int id, int row, int column, int left, int top, int width, int height, const std::string& name);
void NameCell(int id, int row, int column, const std::string& name);
void MoveCursor(int id, int row, int column);

// Pixels in the canvas's byte order (CanvasPixel), `width` a row: the client area under the surfaces (id 0), or a
// surface's image.
void Paint(int id, const std::vector<std::uint32_t>& pixels, int width, int height);

// A sentence for assistive tools to speak at once; nothing shows.
void Announce(const std::string& sentence);

// A box over the window, modal as a desktop message box is: the prompt under its title and a button for each answer,
// the first taking the focus. An error box's message stays on the page once it is closed, where the player can still
// read why the game stopped. Escape gives the last answer.
struct Box {
    std::string Title;
    std::string Prompt;
    std::span<const char* const> Answers;
    bool Error = false;  // it reports an error; otherwise it asks
};
// Waits for the player's answer and returns its place among the box's answers.
int Ask(const Box& box);

enum class EventKind : std::int32_t { Press = 1, Key = 2, PressCell = 3, Choose = 4 };
// Press: Target surface, A button, B shift, C x, D y. Key: Target surface, A the key's place in TableKeys.
// PressCell: Target surface, A row, B column. Choose: Target menu item.
struct Event {
    EventKind Kind;
    std::int32_t Target;
    std::int32_t A;
    std::int32_t B;
    std::int32_t C;
    std::int32_t D;
};
// Waits for the player's next input; what comes meanwhile waits its turn in the page.
Event NextEvent();

// What the page decoded of a file it fetched for the program, by the file's path: the page decoded `bytes` when they
// are the file's, and says so otherwise.
struct DecodedSize {
    int Width = 0;
    int Height = 0;
    std::string Error;  // why it could not be decoded; "" when it was
};
DecodedSize DecodedPictureSize(const std::string& path, std::span<const std::uint8_t> bytes);
// Writes the decoded picture's pixels in the canvas's byte order (CanvasPixel); the page keeps them for the next time.
void TakeDecodedPicture(const std::string& path, std::span<std::uint32_t> pixels);

// A canvas keeps a pixel's bytes in the order R, G, B, A: as a little-endian word, 0xAABBGGRR, where the raster layer
// has 0xAARRGGBB. The same swap goes either way.
constexpr std::uint32_t CanvasPixel(std::uint32_t pixel) {
    return (pixel & 0xFF00FF00u) | ((pixel & 0xFFu) << 16) | ((pixel >> 16) & 0xFFu);
}

}  // namespace toolkit::web::page
