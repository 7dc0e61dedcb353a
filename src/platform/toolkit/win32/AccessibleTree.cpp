#include "platform/toolkit/win32/AccessibleTree.h"

// After the Windows API.
#include <oleacc.h>

#include <algorithm>
#include <cmath>

#include "platform/toolkit/win32/Text.h"

namespace toolkit::win32 {

namespace {

using Part = AccessibleTree::Part;
using Element = AccessibleTree::Element;

int CellCount(const PictureBox& surface) { return surface.Table()->Rows() * surface.Table()->Columns(); }

}  // namespace

bool AccessibleTree::Live() const { return window_ != nullptr && window_->Handle() != nullptr; }

HWND AccessibleTree::Window() const { return window_->Handle(); }

PictureBox* AccessibleTree::TableSurface() const {
    for (PictureBox* surface : form_.Surfaces())
        if (surface->Table() != nullptr) return surface;
    return nullptr;
}

bool AccessibleTree::Exists(Element element) const {
    switch (element.Kind) {
        case Part::Table:
            return TableSurface() != nullptr;
        case Part::Cell: {
            const PictureBox* surface = TableSurface();
            return surface != nullptr && element.Index >= 0 && element.Index < CellCount(*surface);
        }
        case Part::Status:
            return element.Index >= 0 && static_cast<std::size_t>(element.Index) < form_.Labels().size() &&
                   form_.Labels()[element.Index]->Properties().StatusLine;
        default:
            return true;
    }
}

// The table, then the status lines as a window's status bar comes last, then the last announcement.
std::vector<Element> AccessibleTree::Children(Element element) const {
    std::vector<Element> children;
    if (element.Kind == Part::Client) {
        if (TableSurface() != nullptr) children.push_back({Part::Table, 0});
        for (std::size_t i = 0; i < form_.Labels().size(); ++i)
            if (form_.Labels()[i]->Properties().StatusLine) children.push_back({Part::Status, static_cast<int>(i)});
        children.push_back({Part::Notice, 0});
    } else if (element.Kind == Part::Table) {
        for (int i = 0; i < CellCount(*TableSurface()); ++i) children.push_back({Part::Cell, i});
    }
    return children;
}

std::optional<Element> AccessibleTree::Parent(Element element) const {
    if (element.Kind == Part::Client) return std::nullopt;
    return Element{element.Kind == Part::Cell ? Part::Table : Part::Client, 0};
}

bool AccessibleTree::Contains(Element ancestor, Element element) const {
    for (std::optional<Element> up = Parent(element); up; up = Parent(*up))
        if (*up == ancestor) return true;
    return false;
}

// Cells lead to their neighbours on the board; every element to its siblings and children.
std::optional<Element> AccessibleTree::Navigate(Element from, LONG direction) const {
    if (from.Kind == Part::Cell && direction >= NAVDIR_UP && direction <= NAVDIR_RIGHT) {
        const CellTable& table = *TableSurface()->Table();
        int row = from.Index / table.Columns() + (direction == NAVDIR_DOWN) - (direction == NAVDIR_UP);
        int column = from.Index % table.Columns() + (direction == NAVDIR_RIGHT) - (direction == NAVDIR_LEFT);
        if (row < 0 || row >= table.Rows() || column < 0 || column >= table.Columns()) return std::nullopt;
        return Element{Part::Cell, row * table.Columns() + column};
    }
    if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
        const std::vector<Element> children = Children(from);
        if (children.empty()) return std::nullopt;
        return direction == NAVDIR_FIRSTCHILD ? children.front() : children.back();
    }
    const std::optional<Element> parent = Parent(from);
    if (!parent || (direction != NAVDIR_NEXT && direction != NAVDIR_PREVIOUS)) return std::nullopt;
    const std::vector<Element> siblings = Children(*parent);
    const auto at = std::find(siblings.begin(), siblings.end(), from);
    if (direction == NAVDIR_NEXT) return at + 1 < siblings.end() ? std::optional(*(at + 1)) : std::nullopt;
    return at != siblings.begin() ? std::optional(*(at - 1)) : std::nullopt;
}

std::wstring AccessibleTree::Name(Element element) const {
    switch (element.Kind) {
        case Part::Client:
            return Wide(form_.Properties().Caption);
        case Part::Cell: {
            const CellTable& table = *TableSurface()->Table();
            return Wide(table.CellName(element.Index / table.Columns(), element.Index % table.Columns()));
        }
        case Part::Status:
            return Wide(form_.Labels()[element.Index]->Caption());
        case Part::Notice:
            return Notice;
        default:
            return {};
    }
}

LONG AccessibleTree::Role(Element element) const {
    switch (element.Kind) {
        case Part::Client:
            return ROLE_SYSTEM_CLIENT;
        case Part::Table:
            return ROLE_SYSTEM_TABLE;
        case Part::Cell:
            return ROLE_SYSTEM_CELL;
        case Part::Status:
            return ROLE_SYSTEM_STATUSBAR;
        default:
            return ROLE_SYSTEM_STATICTEXT;
    }
}

LONG AccessibleTree::State(Element element) const {
    LONG state = STATE_SYSTEM_READONLY;
    if (element.Kind == Part::Client || element.Kind == Part::Cell) state = STATE_SYSTEM_FOCUSABLE;
    if (element.Kind == Part::Table) state = 0;
    if ((element.Kind == Part::Table || element.Kind == Part::Cell) && !TableSurface()->Visible())
        state |= STATE_SYSTEM_INVISIBLE;
    if (Focus() == element) state |= STATE_SYSTEM_FOCUSED;
    return state;
}

// In screen pixels: the design's pixels scaled to the monitor as the window draws them, from the client area's origin.
RECT AccessibleTree::Bounds(Element element) const {
    switch (element.Kind) {
        case Part::Client: {
            RECT client;
            GetClientRect(Window(), &client);
            MapWindowPoints(Window(), nullptr, reinterpret_cast<POINT*>(&client), 2);
            return client;
        }
        case Part::Table:
            return ToScreen(SurfaceRect(*TableSurface()));
        case Part::Cell: {
            const PictureBox& surface = *TableSurface();
            const CellTable& table = *surface.Table();
            const CellBox box = table.CellRect(element.Index / table.Columns(), element.Index % table.Columns());
            const int left = surface.Left() + box.Left;
            const int top = surface.Top() + box.Top;
            return ToScreen({left, top, left + box.Width, top + box.Height});
        }
        case Part::Status: {
            const Label::Design& d = form_.Labels()[element.Index]->Properties();
            return ToScreen({d.Left, d.Top, d.Left + d.Width, d.Top + d.Height});
        }
        default:
            return ToScreen({});
    }
}

RECT AccessibleTree::ToScreen(const Rect& design) const {
    const double scale = window_->Scale();
    POINT origin{0, 0};
    ClientToScreen(Window(), &origin);
    return {origin.x + std::lround(design.Left * scale), origin.y + std::lround(design.Top * scale),
            origin.x + std::lround(design.Right * scale), origin.y + std::lround(design.Bottom * scale)};
}

std::optional<Element> AccessibleTree::Focus() const {
    if (GetFocus() != Window()) return std::nullopt;
    const PictureBox* surface = TableSurface();
    if (surface == nullptr || !surface->Visible()) return Element{Part::Client, 0};
    const CellTable& table = *surface->Table();
    return Element{Part::Cell, table.CursorRow() * table.Columns() + table.CursorColumn()};
}

std::optional<Element> AccessibleTree::StatusOf(const Label& label) const {
    const auto& labels = form_.Labels();
    const auto at = std::find(labels.begin(), labels.end(), &label);
    const Element status{Part::Status, static_cast<int>(at - labels.begin())};
    if (at == labels.end() || !Exists(status)) return std::nullopt;
    return status;
}

LONG AccessibleTree::ChildId(Element element) const {
    if (element.Kind == Part::Cell) return -(element.Index + 1);
    const std::vector<Element> children = Children({Part::Client, 0});
    const auto at = std::find(children.begin(), children.end(), element);
    return at != children.end() ? static_cast<LONG>(at - children.begin()) + 1 : CHILDID_SELF;
}

std::optional<Element> AccessibleTree::FromChildId(LONG id) const {
    if (id < 0) {
        const Element cell{Part::Cell, -(id + 1)};
        return Exists(cell) ? std::optional(cell) : std::nullopt;
    }
    const std::vector<Element> children = Children({Part::Client, 0});
    if (id < 1 || static_cast<std::size_t>(id) > children.size()) return std::nullopt;
    return children[id - 1];
}

}  // namespace toolkit::win32
