#include "platform/toolkit/web/FormWindow.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

namespace toolkit::web {

namespace {

// The design's pixels are those of a 96 dpi screen: 12 points are 16 pixels.
constexpr double DesignPixelsPerPoint = 96.0 / 72.0;

// The keys a cell table answers, by the names the page's key events give them; a key event carries the place here.
struct TableKey {
    const char* Name;
    Key Pressed;
};
constexpr std::array<TableKey, 6> TableKeys{{{"ArrowLeft", Key::Left},
                                             {"ArrowRight", Key::Right},
                                             {"ArrowUp", Key::Up},
                                             {"ArrowDown", Key::Down},
                                             {" ", Key::Space},
                                             {"Enter", Key::Return}}};
constexpr std::array<const char*, TableKeys.size()> TableKeyNames = [] {
    std::array<const char*, TableKeys.size()> names{};
    for (std::size_t i = 0; i < TableKeys.size(); ++i) names[i] = TableKeys[i].Name;
    return names;
}();

// Browsers keep some shortcuts for themselves (Ctrl+N opens a window): an item with one also answers to a key that
// always reaches the page.
const char* SubstituteOf(const std::string& shortcut) { return shortcut == "Ctrl+N" ? "F2" : ""; }

// The page names controls by their place in the module's memory, which it only hands back.
int IdOf(const void* control) { return static_cast<int>(reinterpret_cast<std::uintptr_t>(control)); }

std::uint32_t Rgb(gdi::COLORREF color) {
    return (std::uint32_t{gdi::GetRValue(color)} << 16) | (std::uint32_t{gdi::GetGValue(color)} << 8) |
           gdi::GetBValue(color);
}

// Items of one control array that can be checked choose among themselves. The access key crosses as its letter: its
// place in the caption counts bytes of UTF-8, which the page's strings do not.
page::MenuItemView ViewOf(const MenuItem& item) {
    page::MenuItemView view;
    view.Caption = item.Caption();
    if (const std::optional<std::size_t> key = item.AccessKeyIndex()) view.AccessKey = item.Caption().substr(*key, 1);
    view.Shortcut = item.Shortcut();
    view.Substitute = SubstituteOf(item.Shortcut());
    view.Separator = item.IsSeparator();
    view.Submenu = !item.Children().empty();
    view.Checkable = item.Checkable() || item.Checked();
    view.Radio = view.Checkable && item.Index().has_value();
    view.Checked = item.Checked();
    view.Enabled = item.Enabled();
    view.Visible = item.Visible();
    return view;
}

page::LabelView ViewOf(const Label& label) {
    const Label::Design& design = label.Properties();
    page::LabelView view;
    view.Left = design.Left;
    view.Top = design.Top;
    view.Width = design.Width;
    view.Height = design.Height;
    view.FontName = design.Font.Name;
    view.FontPixels = static_cast<int>(std::lround(design.Font.Size * DesignPixelsPerPoint));
    view.FontWeight = design.Font.Weight;
    view.Italic = design.Font.Italic;
    view.Underline = design.Font.Underline;
    view.Strikethrough = design.Font.Strikethrough;
    view.Color = Rgb(design.ForeColor);
    view.BackColor = Rgb(design.BackColor);
    view.Transparent = design.Transparent;
    view.Alignment = design.Alignment == Alignment::RightJustify ? "right"
                     : design.Alignment == Alignment::Center     ? "center"
                                                                 : "left";
    view.StatusLine = design.StatusLine;
    return view;
}

const MenuItem* FindMenuItem(const std::vector<std::unique_ptr<MenuItem>>& items, int id) {
    for (const auto& item : items) {
        if (IdOf(item.get()) == id) return item.get();
        if (const MenuItem* found = FindMenuItem(item->Children(), id)) return found;
    }
    return nullptr;
}

std::function<void()> PressOn(PictureBox& surface, const page::Event& event) {
    if (!surface.MouseDown) return {};
    const auto button = static_cast<std::int16_t>(event.A);
    const auto shift = static_cast<std::int16_t>(event.B);
    const float x = std::clamp(static_cast<float>(event.C), 0.0f, surface.Width() - 1);
    const float y = std::clamp(static_cast<float>(event.D), 0.0f, surface.Height() - 1);
    return [&surface, button, shift, x, y] { surface.MouseDown(button, shift, x, y); };
}

std::function<void()> KeyOn(CellTable* table, std::int32_t place) {
    if (table == nullptr || place < 0 || place >= static_cast<std::int32_t>(TableKeys.size())) return {};
    const Key key = TableKeys[static_cast<std::size_t>(place)].Pressed;
    return [table, key] { table->KeyDown(key); };
}

std::function<void()> CellOn(CellTable* table, int row, int column) {
    if (table == nullptr || row < 0 || row >= table->Rows() || column < 0 || column >= table->Columns()) return {};
    return [table, row, column] { table->PressCell(row, column); };
}

}  // namespace

FormWindow::FormWindow(Form& form) : FrontEnd(form), frame_(form) {
    const Form::Design& design = form.Properties();
    page::Open(design.Caption, design.ClientWidth, design.ClientHeight);
    page::TableKeys(TableKeyNames);
    for (const auto& item : form.Menus()) AddMenuItems(*item, 0);
    for (const Label* label : form.Labels()) page::AddLabel(IdOf(label), ViewOf(*label), label->Caption());
}

void FormWindow::AddMenuItems(const MenuItem& item, int parent) {
    page::AddMenuItem(IdOf(&item), parent, ViewOf(item));
    for (const auto& child : item.Children()) AddMenuItems(*child, IdOf(&item));
}

int FormWindow::Run() {
    while (running_ && !TheForm().Closed()) Dispatch(page::NextEvent());
    return Failed() ? 1 : 0;
}

void FormWindow::Dispatch(const page::Event& event) {
    if (const std::function<void()> handler = HandlerOf(event)) RunHandler(handler);
}

// The page hands back only the numbers it was given, but a control may have gone or changed since: each is looked
// up and checked again, and input that no longer fits is dropped.
std::function<void()> FormWindow::HandlerOf(const page::Event& event) const {
    if (event.Kind == page::EventKind::Choose) {
        const MenuItem* item = MenuItemOf(event.Target);
        if (item == nullptr || !item->Enabled() || !item->Children().empty() || item->IsSeparator()) return {};
        return [item] { item->Choose(); };
    }
    PictureBox* surface = SurfaceOf(event.Target);
    if (surface == nullptr) return {};
    switch (event.Kind) {
        case page::EventKind::Press:
            return PressOn(*surface, event);
        case page::EventKind::Key:
            return KeyOn(surface->Table(), event.A);
        case page::EventKind::PressCell:
            return CellOn(surface->Table(), event.A, event.B);
        default:
            return {};
    }
}

PictureBox* FormWindow::SurfaceOf(int id) const {
    for (PictureBox* surface : TheForm().Surfaces())
        if (IdOf(surface) == id && surface->Visible()) return surface;
    return nullptr;
}

const MenuItem* FormWindow::MenuItemOf(int id) const { return FindMenuItem(TheForm().Menus(), id); }

// The client area is composed once, for the background and the surfaces over it alike.
void FormWindow::ShowWindow() {
    shown_ = true;
    const Rect client{0, 0, TheForm().Properties().ClientWidth, TheForm().Properties().ClientHeight};
    const gdi::SurfaceBits composed = frame_.Compose(client);
    Show(composed, 0, client);
    for (PictureBox* surface : TheForm().Surfaces()) {
        Place(*surface);
        if (surface->Visible()) Show(composed, IdOf(surface), SurfaceRect(*surface));
    }
    page::Show();
}

void FormWindow::LabelChanged(const Label& label) { page::UpdateLabel(IdOf(&label), label.Caption()); }

void FormWindow::SurfaceChanged(PictureBox& surface) {
    if (!shown_) return;
    Place(surface);
    if (surface.Visible()) Paint(surface);
}

void FormWindow::Place(PictureBox& surface) {
    const CellTable* table = surface.Table();
    page::PlaceSurface(IdOf(&surface), surface.Left(), surface.Top(), static_cast<int>(surface.Width()),
                       static_cast<int>(surface.Height()), surface.Visible(), table ? table->Rows() : 0,
                       table ? table->Columns() : 0);
    if (surface.Visible()) PlaceCells(surface);
}

void FormWindow::PlaceCells(PictureBox& surface) {
    const CellTable* table = surface.Table();
    if (table == nullptr) return;
    for (int row = 0; row < table->Rows(); ++row) {
        for (int column = 0; column < table->Columns(); ++column) {
            const CellBox box = table->CellRect(row, column);
            page::PlaceCell(IdOf(&surface), row, column, box.Left, box.Top, box.Width, box.Height,
                            table->CellName(row, column));
        }
    }
    page::MoveCursor(IdOf(&surface), table->CursorRow(), table->CursorColumn());
}

// The surface's part of the composed client area: its image with the cursor's frame over it.
void FormWindow::Paint(PictureBox& surface) {
    const Rect area = SurfaceRect(surface);
    Show(frame_.Compose(area), IdOf(&surface), area);
}

// What `area` of the composed client area holds, in the canvas's byte order, on the canvas of `id`.
void FormWindow::Show(const gdi::SurfaceBits& composed, int id, const Rect& area) {
    const int left = std::max(area.Left, 0);
    const int top = std::max(area.Top, 0);
    const int width = std::min(area.Right, composed.width) - left;
    const int height = std::min(area.Bottom, composed.height) - top;
    if (width <= 0 || height <= 0) return;
    canvas_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = composed.pixels + static_cast<std::size_t>(top + y) * composed.width + left;
        std::uint32_t* to = canvas_.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) to[x] = page::CanvasPixel(row[x] | 0xFF000000u);
    }
    page::Paint(id, canvas_, width, height);
}

void FormWindow::RepaintSurface(PictureBox& surface) {
    if (shown_ && surface.Visible()) Paint(surface);
}

void FormWindow::MenuItemChanged(const MenuItem& item) { page::UpdateMenuItem(IdOf(&item), ViewOf(item)); }

void FormWindow::CursorChanged(PictureBox& surface) {
    if (!shown_ || !surface.Visible() || surface.Table() == nullptr) return;
    page::MoveCursor(IdOf(&surface), surface.Table()->CursorRow(), surface.Table()->CursorColumn());
    Paint(surface);
}

void FormWindow::CellChanged(PictureBox& surface, int row, int column) {
    if (shown_ && surface.Table() != nullptr)
        page::NameCell(IdOf(&surface), row, column, surface.Table()->CellName(row, column));
}

void FormWindow::Announce(const std::string& sentence) { page::Announce(sentence); }

void FormWindow::DestroyWindow() { page::Close(); }

void FormWindow::EndEventLoop() {
    running_ = false;
    page::Stop();
}

}  // namespace toolkit::web

std::unique_ptr<toolkit::FrontEnd> toolkit::OpenWindow(Form& form) { return std::make_unique<web::FormWindow>(form); }
