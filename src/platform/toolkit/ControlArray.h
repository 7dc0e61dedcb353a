// A control array: element 0 from the form's design, further elements created at run time
// as hidden copies of element 0's current properties.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

namespace toolkit {

template <typename Control>
class ControlArray {
public:
    ControlArray(std::int16_t index, const typename Control::Design& design) {
        elements_.emplace(index, std::make_unique<Control>(design));
    }

    Control& operator()(std::int16_t Index) const {
        auto it = elements_.find(Index);
        if (it == elements_.end()) throw std::out_of_range("control array has no element " + std::to_string(Index));
        return *it->second;
    }

    // Creates element `Index` as a hidden copy of the lowest element's current design, on the same form.
    void Load(std::int16_t Index) {
        if (elements_.count(Index)) throw std::invalid_argument("control array element " + std::to_string(Index) + " exists");
        const Control& first = *elements_.begin()->second;
        auto design = first.CurrentDesign();
        design.Visible = false;
        auto element = std::make_unique<Control>(design);
        element->view_ = first.view_;
        elements_.emplace(Index, std::move(element));
    }

    std::size_t Count() const { return elements_.size(); }

    template <typename Visit>
    void ForEach(Visit&& visit) const {
        for (auto& [index, control] : elements_) visit(index, *control);
    }

private:
    std::map<std::int16_t, std::unique_ptr<Control>> elements_;
};

}  // namespace toolkit
