#include "platform/toolkit/web/Page.h"

#include <emscripten.h>

#include <array>

// Each call hands its plain arguments to the page object of page.js, which keeps the page's elements.
// clang-format off
EM_JS(void, tessarin_page_open, (const char* caption, int width, int height), {
    TessarinPage.open(UTF8ToString(caption), width, height);
});
EM_JS(void, tessarin_page_show, (), { TessarinPage.show(); });
EM_JS(void, tessarin_page_close, (), { TessarinPage.close(); });
EM_JS(void, tessarin_page_stop, (), { TessarinPage.stop(); });
EM_JS(void, tessarin_page_menu_item, (int update, int id, int parent, const char* caption, int accessKey,
                                      const char* shortcut, int flags), {
    TessarinPage.menuItem(update, id, parent, UTF8ToString(caption), accessKey, UTF8ToString(shortcut), flags);
});
EM_JS(void, tessarin_page_add_label, (int id, int left, int top, int width, int height, const char* fontName,
                                      int fontPixels, int fontWeight, int fontFlags, int color, int backColor,
                                      int alignment, int flags, const char* caption), {
    TessarinPage.addLabel(id, left, top, width, height, UTF8ToString(fontName), fontPixels, fontWeight, fontFlags,
                          color, backColor, alignment, flags, UTF8ToString(caption));
});
EM_JS(void, tessarin_page_update_label, (int id, const char* caption), {
    TessarinPage.updateLabel(id, UTF8ToString(caption));
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
EM_ASYNC_JS(int, tessarin_page_ask, (const char* title, const char* prompt), {
    return (await TessarinPage.ask(UTF8ToString(title), UTF8ToString(prompt))) ? 1 : 0;
});
EM_JS(void, tessarin_page_report_error, (const char* title, const char* text), {
    TessarinPage.reportError(UTF8ToString(title), UTF8ToString(text));
});
EM_ASYNC_JS(void, tessarin_page_next_event, (std::int32_t* event), {
    HEAP32.set(await TessarinPage.nextEvent(), event >> 2);
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

int MenuFlags(const MenuItemView& item) {
    return (item.Separator ? 1 : 0) | (item.Submenu ? 2 : 0) | (item.Checkable ? 4 : 0) | (item.Radio ? 8 : 0) |
           (item.Checked ? 16 : 0) | (item.Enabled ? 32 : 0) | (item.Visible ? 64 : 0);
}

}  // namespace

void Open(const std::string& caption, int width, int height) { tessarin_page_open(caption.c_str(), width, height); }
void Show() { tessarin_page_show(); }
void Close() { tessarin_page_close(); }
void Stop() { tessarin_page_stop(); }

void AddMenuItem(int id, int parent, const MenuItemView& item) {
    tessarin_page_menu_item(0, id, parent, item.Caption.c_str(), item.AccessKey, item.Shortcut.c_str(),
                            MenuFlags(item));
}

void UpdateMenuItem(int id, const MenuItemView& item) {
    tessarin_page_menu_item(1, id, 0, item.Caption.c_str(), item.AccessKey, item.Shortcut.c_str(), MenuFlags(item));
}

void AddLabel(int id, const LabelView& label, const std::string& caption) {
    const int fontFlags = (label.Italic ? 1 : 0) | (label.Underline ? 2 : 0) | (label.Strikethrough ? 4 : 0);
    const int flags = (label.Transparent ? 1 : 0) | (label.StatusLine ? 2 : 0);
    tessarin_page_add_label(id, label.Left, label.Top, label.Width, label.Height, label.FontName.c_str(),
                            label.FontPixels, label.FontWeight, fontFlags, static_cast<int>(label.Color),
                            static_cast<int>(label.BackColor), label.Alignment, flags, caption.c_str());
}

void UpdateLabel(int id, const std::string& caption) { tessarin_page_update_label(id, caption.c_str()); }

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

bool Ask(const std::string& title, const std::string& prompt) {
    return tessarin_page_ask(title.c_str(), prompt.c_str()) != 0;
}

void ReportError(const std::string& title, const std::string& text) {
    tessarin_page_report_error(title.c_str(), text.c_str());
}

Event NextEvent() {
    std::array<std::int32_t, 6> raw{};
    tessarin_page_next_event(raw.data());
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
