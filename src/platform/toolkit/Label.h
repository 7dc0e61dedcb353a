// A label: one line of text drawn over the window's image, transparent behind it.
#pragma once

#include <string>

#include "platform/gdi/Gdi.h"
#include "platform/toolkit/FormView.h"

namespace toolkit {

struct Font {
    std::string Name = "MS Sans Serif";
    int Size = 8;  // points
    int Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
    int Charset = 0;
};

enum class Alignment { LeftJustify, RightJustify, Center };

class Label {
public:
    struct Design {
        int Left = 0;
        int Top = 0;
        int Width = 0;
        int Height = 0;
        std::string Caption;
        toolkit::Font Font;
        gdi::COLORREF ForeColor = gdi::RGB(0, 0, 0);
        toolkit::Alignment Alignment = toolkit::Alignment::LeftJustify;
        bool Transparent = true;
        gdi::COLORREF BackColor = gdi::RGB(240, 240, 240);  // shown only when not transparent
        bool StatusLine = false;                            // assistive tools read it as the window's status line
    };

    explicit Label(Design design) : design_(std::move(design)) {}

    const Design& Properties() const { return design_; }
    const std::string& Caption() const { return design_.Caption; }
    void Caption(const std::string& vNewValue) {
        design_.Caption = vNewValue;
        if (FormView* view = view_.Get()) view->LabelChanged(*this);
    }

private:
    friend class Form;

    Design design_;
    ViewLink view_;
};

}  // namespace toolkit
