// The elements a form window shows assistive tools, read from the model at each call: the client, the table of the
// first surface that is one and its cells, the status lines and the last announcement. Positions are in screen
// pixels; child ids are those the window's events carry. Plain Windows API, no COM.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/toolkit/Form.h"
#include "platform/toolkit/Frame.h"
#include "platform/toolkit/win32/AccessibleHost.h"
#include "platform/toolkit/win32/WindowsApi.h"

namespace toolkit::win32 {

// Reads the window only while it lives: after Detach, or once the native window has gone, Live is false and nothing
// else may be asked.
class AccessibleTree {
public:
    enum class Part { Client, Table, Cell, Status, Notice };
    struct Element {
        Part Kind = Part::Client;
        int Index = 0;  // a cell's row * columns + column; a status line's place among the form's labels
        bool operator==(const Element&) const = default;
    };

    AccessibleTree(const AccessibleHost& window, const Form& form) : window_(&window), form_(form) {}

    void Detach() { window_ = nullptr; }
    bool Live() const;
    HWND Window() const;
    // The first surface that is a table of cells, as the window's keys reach it.
    PictureBox* TableSurface() const;

    bool Exists(Element element) const;
    std::vector<Element> Children(Element element) const;
    std::optional<Element> Parent(Element element) const;
    bool Contains(Element ancestor, Element element) const;
    std::optional<Element> Navigate(Element from, LONG direction) const;
    std::wstring Name(Element element) const;
    LONG Role(Element element) const;
    LONG State(Element element) const;
    RECT Bounds(Element element) const;
    // The focused element while the window has the keyboard focus: the cursor's cell, where there is a table.
    std::optional<Element> Focus() const;
    std::optional<Element> StatusOf(const Label& label) const;

    // Events name an element by its child id on the client object: the client's children count from 1, the cells
    // below them from -1 down, as no child of the client has a negative id.
    LONG ChildId(Element element) const;
    std::optional<Element> FromChildId(LONG id) const;

    std::wstring Notice;

private:
    RECT ToScreen(const Rect& design) const;

    const AccessibleHost* window_;
    const Form& form_;
};

}  // namespace toolkit::win32
