#include "platform/toolkit/web/Page.h"

#include <emscripten.h>

#include <array>

// Each call hands its plain arguments to the page object of page.js, which keeps the page's elements; flags and
// choices cross by name, and lists as lines.
// clang-format off
EM_JS(void, tessarin_page_open, (const char* caption, int width, int height), {
    TessarinPage.open(UTF8ToString(caption), width, height);
});
EM_JS(void, tessarin_page_show, (), { TessarinPage.show(); });
EM_JS(void, tessarin_page_close, (), { TessarinPage.close(); });
EM_JS(void, tessarin_page_stop, (), { TessarinPage.stop(); });
EM_JS(void, tessarin_page_menu_item, (int update, int id, int parent, const char* caption, const char* accessKey,
                                      const char* shortcut, const char* substitute, int separator, int submenu,
                                      int checkable, int radio, int checked, int enabled, int visible), {
    TessarinPage.menuItem(update, id, parent, {
        caption: UTF8ToString(caption), accessKey: UTF8ToString(accessKey),
        shortcuts: [UTF8ToString(shortcut), UTF8ToString(substitute)].filter(Boolean), separator: !!separator,
        submenu: !!submenu, checkable: !!checkable, radio: !!radio, checked: !!checked, enabled: !!enabled,
        visible: !!visible});
});
EM_JS(void, tessarin_page_add_label, (int id, int left, int top, int width, int height, const char* fontName,
                                      int fontPixels, int fontWeight, int italic, int underline, int strikethrough,
                                      int color, int backColor, int transparent, const char* alignment,
                                      int statusLine, const char* caption), {
    TessarinPage.addLabel(id, left, top, width, height, {
        fontName: UTF8ToString(fontName), fontPixels: fontPixels, fontWeight: fontWeight, italic: !!italic,
        underline: !!underline, strikethrough: !!strikethrough, color: color, backColor: backColor,
        transparent: !!transparent, alignment: UTF8ToString(alignment), statusLine: !!statusLine},
        UTF8ToString(caption));
});
EM_JS(void, tessarin_page_update_label, (int id, const char* caption), {
    TessarinPage.updateLabel(id, UTF8ToString(caption));
});
EM_JS(void, tessarin_page_table_keys, (const char* names), {
    TessarinPage.tableKeys(UTF8ToString(names).split("\n").slice(0, -1));
});
EM_JS(void, tessarin_page_place_surface, (int id, int left, int top, int width, int height, int visible, int rows,
                                          int columns), {
    TessarinPage.placeSurface(id, left, top, width, height, visible, rows, columns);
});
EM_JS(void, tessarin_page_place_cell, (int id, int row, int column, int left, int top, int width, int height,
                                       const char* name), {
    TessarinPage.placeCell(id, row, column, left, top, width, height, UTF8ToString(name));
});
EM_JS(void, tessarin_page_name_cell, (int id, int row, int column, const char* name), {
    TessarinPage.nameCell(id, row, column, UTF8ToString(name));
});
EM_JS(void, tessarin_page_move_cursor, (int id, int row, int column), {
    TessarinPage.moveCursor(id, row, column);
});
EM_JS(void, tessarin_page_paint, (int id, const std::uint32_t* pixels, int width, int height), {
    TessarinPage.paint(id, new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4), width, height);
});
EM_JS(void, tessarin_page_announce, (const char* sentence), {
    TessarinPage.announce(UTF8ToString(sentence));
});
EM_ASYNC_JS(int, tessarin_page_ask, (const char* title, const char* prompt, const char* answers, int error), {
    return await TessarinPage.ask({title: UTF8ToString(title), prompt: UTF8ToString(prompt),
                                   answers: UTF8ToString(answers).split("\n").slice(0, -1), error: !!error});
});
// The page names an event's kind; the module's numbers for the kinds come with each call.
EM_ASYNC_JS(void, tessarin_page_next_event, (std::int32_t* event, int press, int key, int pressCell, int choose), {
    const kinds = {press: press, key: key, pressCell: pressCell, choose: choose};
    const [kind, ...values] = await TessarinPage.nextEvent();
    if (!kinds.hasOwnProperty(kind)) throw new Error("the page posted an event of no known kind: " + kind);
    HEAP32.set([kinds[kind], ...values], event >> 2);
});
EM_JS(int, tessarin_page_picture_size, (const char* path, const std::uint8_t* bytes, int count, int* size,
                                        char* error, int capacity), {
    const decoded = TessarinPage.decodedPicture(UTF8ToString(path), HEAPU8.subarray(bytes, bytes + count));
    HEAP32[size >> 2] = decoded.width;
    HEAP32[(size >> 2) + 1] = decoded.height;
    stringToUTF8(decoded.error, error, capacity);
    return decoded.error ? 0 : 1;
});
EM_JS(void, tessarin_page_take_picture, (const char* path, std::uint32_t* pixels, int count), {
    TessarinPage.takePicture(UTF8ToString(path), HEAPU8.subarray(pixels, pixels + count * 4));
});
// clang-format on

namespace toolkit::web::page {

namespace {

// Lists cross as their entries a line; none holds a line break.
std::string Lines(std::span<const char* const> entries) {
    std::string lines;
    for (const char* entry : entries) (lines += entry) += '\n';
    return lines;
}

void SendMenuItem(bool update, int id, int parent, const MenuItemView& item) {
    tessarin_page_menu_item(update, id, parent, item.Caption.c_str(), item.AccessKey.c_str(), item.Shortcut.c_str(),
                            item.Substitute.c_str(), item.Separator, item.Submenu, item.Checkable, item.Radio,
                            item.Checked, item.Enabled, item.Visible);
}

}  // namespace

void Open(const std::string& caption, int width, int height) { tessarin_page_open(caption.c_str(), width, height); }
void Show() { tessarin_page_show(); }
void Close() { tessarin_page_close(); }
void Stop() { tessarin_page_stop(); }

void AddMenuItem(int id, int parent, const MenuItemView& item) { SendMenuItem(false, id, parent, item); }

void UpdateMenuItem(int id, const MenuItemView& item) { SendMenuItem(true, id, 0, item); }

void AddLabel(int id, const LabelView& label, const std::string& caption) {
    tessarin_page_add_label(id, label.Left, label.Top, label.Width, label.Height, label.FontName.c_str(),
                            label.FontPixels, label.FontWeight, label.Italic, label.Underline, label.Strikethrough,
                            static_cast<int>(label.Color), static_cast<int>(label.BackColor), label.Transparent,
                            label.Alignment.c_str(), label.StatusLine, caption.c_str());
}

void UpdateLabel(int id, const std::string& caption) { tessarin_page_update_label(id, caption.c_str()); }

void TableKeys(std::span<const char* const> names) { tessarin_page_table_keys(Lines(names).c_str()); }

void PlaceSurface(int id, int left, int top, int width, int height, bool visible, int rows, int columns) {
    tessarin_page_place_surface(id, left, top, width, height, visible ? 1 : 0, rows, columns);
}

void PlaceCell(int id, int row, int column, int left, int top, int width, int height, const std::string& name) {
    tessarin_page_place_cell(id, row, column, left, top, width, height, name.c_str());
}

void NameCell(int id, int row, int column, const std::string& name) {
    tessarin_page_name_cell(id, row, column, name.c_str());
}

void MoveCursor(int id, int row, int column) { tessarin_page_move_cursor(id, row, column); }

void Paint(int id, const std::vector<std::uint32_t>& pixels, int width, int height) {
    tessarin_page_paint(id, pixels.data(), width, height);
}

void Announce(const std::string& sentence) { tessarin_page_announce(sentence.c_str()); }

int Ask(const Box& box) {
    return tessarin_page_ask(box.Title.c_str(), box.Prompt.c_str(), Lines(box.Answers).c_str(), box.Error);
}

Event NextEvent() {
    std::array<std::int32_t, 6> raw{};
    tessarin_page_next_event(raw.data(), static_cast<int>(EventKind::Press), static_cast<int>(EventKind::Key),
                             static_cast<int>(EventKind::PressCell), static_cast<int>(EventKind::Choose));
    return Event{static_cast<EventKind>(raw[0]), raw[1], raw[2], raw[3], raw[4], raw[5]};
}

DecodedSize DecodedPictureSize(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::array<int, 2> size{};
    std::array<char, 256> error{};
    const bool decoded = tessarin_page_picture_size(path.c_str(), bytes.data(), static_cast<int>(bytes.size()),
                                                    size.data(), error.data(), error.size()) != 0;
    return DecodedSize{size[0], size[1], decoded ? std::string() : std::string(error.data())};
}

void TakeDecodedPicture(const std::string& path, std::span<std::uint32_t> pixels) {
    tessarin_page_take_picture(path.c_str(), pixels.data(), static_cast<int>(pixels.size()));
}

}  // namespace toolkit::web::page
