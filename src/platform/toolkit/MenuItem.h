// A menu item of the window's menu tree. Items of a control array carry their index,
// which their click event passes on.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace toolkit {

class MenuItem {
public:
    struct Design {
        std::string Name{};                   // e.g. "mnuPlayer"
        std::optional<std::int16_t> Index{};  // set for control-array elements
        std::string Caption{};                // "-" makes a separator
        bool Checked = false;
        bool Enabled = true;
        bool Visible = true;
        std::string Shortcut{};               // e.g. "Ctrl+N", empty for none
    };

    explicit MenuItem(Design design) : design_(std::move(design)) {}

    MenuItem& Add(Design child) {
        children_.push_back(std::make_unique<MenuItem>(std::move(child)));
        return *children_.back();
    }

    const std::string& Name() const { return design_.Name; }
    std::optional<std::int16_t> Index() const { return design_.Index; }
    const std::string& Caption() const { return design_.Caption; }
    const std::string& Shortcut() const { return design_.Shortcut; }
    bool Enabled() const { return design_.Enabled; }
    bool Visible() const { return design_.Visible; }
    bool IsSeparator() const { return design_.Caption == "-"; }

    bool Checked() const { return design_.Checked; }
    void Checked(bool vNewValue) {
        design_.Checked = vNewValue;
        if (Changed) Changed();
    }

    const std::vector<std::unique_ptr<MenuItem>>& Children() const { return children_; }

    // Chosen by the user (or by its shortcut): runs the click handler.
    void Choose() const {
        if (Click) Click();
    }

    std::function<void()> Click;
    // Set by a front end: the check mark changed.
    std::function<void()> Changed;

private:
    Design design_;
    std::vector<std::unique_ptr<MenuItem>> children_;
};

}  // namespace toolkit
