// A menu item of the window's menu tree. Items of a control array carry their index,
// which their click event passes on.
#pragma once

#include <cctype>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/toolkit/FormView.h"

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
        char AccessKey = 0;                   // a caption letter that opens the item with Alt; 0 for none
        bool Checkable = false;               // a choice: checkable even while unchecked
    };

    // Throws std::invalid_argument for an access key that the caption lacks.
    explicit MenuItem(Design design) : design_(std::move(design)) {
        if (design_.AccessKey != 0 && !AccessKeyIndex())
            throw std::invalid_argument("menu item " + design_.Name + " has no access key letter in its caption");
    }

    MenuItem& Add(Design child) {
        children_.push_back(std::make_unique<MenuItem>(std::move(child)));
        children_.back()->view_ = view_;
        return *children_.back();
    }

    const std::string& Name() const { return design_.Name; }
    std::optional<std::int16_t> Index() const { return design_.Index; }
    const std::string& Caption() const { return design_.Caption; }
    void Caption(const std::string& vNewValue) {
        design_.Caption = vNewValue;
        Changed();
    }
    const std::string& Shortcut() const { return design_.Shortcut; }
    bool Enabled() const { return design_.Enabled; }
    void Enabled(bool vNewValue) {
        design_.Enabled = vNewValue;
        Changed();
    }
    bool Visible() const { return design_.Visible; }
    bool IsSeparator() const { return design_.Caption == "-"; }
    bool Checkable() const { return design_.Checkable; }
    // Where the access key stands in the caption: its first letter equal to the key, case aside.
    std::optional<std::size_t> AccessKeyIndex() const {
        const auto Fold = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
        if (design_.AccessKey == 0) return std::nullopt;
        for (std::size_t i = 0; i < design_.Caption.size(); ++i)
            if (Fold(design_.Caption[i]) == Fold(design_.AccessKey)) return i;
        return std::nullopt;
    }
    // The caption as menus on every platform read it: the access key marked with '&', a literal '&' doubled.
    std::string MarkedCaption() const {
        std::string text;
        const std::optional<std::size_t> accessKey = AccessKeyIndex();
        for (std::size_t i = 0; i < design_.Caption.size(); ++i) {
            if (design_.Caption[i] == '&' || i == accessKey) text += '&';
            text += design_.Caption[i];
        }
        return text;
    }

    bool Checked() const { return design_.Checked; }
    void Checked(bool vNewValue) {
        design_.Checked = vNewValue;
        Changed();
    }

    const std::vector<std::unique_ptr<MenuItem>>& Children() const { return children_; }

    // Chosen by the user (or by its shortcut): runs the click handler.
    void Choose() const {
        if (Click) Click();
    }

    std::function<void()> Click;

private:
    friend class Form;

    void Changed() const {
        if (FormView* view = view_.Get()) view->MenuItemChanged(*this);
    }

    Design design_;
    ViewLink view_;
    std::vector<std::unique_ptr<MenuItem>> children_;
};

}  // namespace toolkit
