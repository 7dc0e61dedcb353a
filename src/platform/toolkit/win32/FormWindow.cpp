#include "platform/toolkit/win32/FormWindow.h"

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

#include "platform/toolkit/win32/Text.h"

namespace toolkit::win32 {

namespace {

constexpr UINT FirstCommand = 100;
constexpr wchar_t ClassName[] = L"TessarinForm";
constexpr int ProgramIcon = 1;  // the icon resource the program carries, if any

FormWindow* liveWindow = nullptr;

DWORD StyleOf(const Form::Design& design) {
    // Not clipping its children: the form paints under the pixel of its notification window too.
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    if (design.MinButton) style |= WS_MINIMIZEBOX;
    if (design.MaxButton) style |= WS_MAXIMIZEBOX;
    if (design.Resizable) style |= WS_THICKFRAME;
    return style;
}

// "Ctrl+N", "Shift+Alt+F5": modifiers, then a letter, a digit or F1 to F24.
ACCEL ParseShortcut(const std::string& shortcut, WORD command) {
    ACCEL accel{FVIRTKEY, 0, command};
    std::size_t at = 0;
    for (std::size_t plus; (plus = shortcut.find('+', at)) != std::string::npos; at = plus + 1) {
        const std::string modifier = shortcut.substr(at, plus - at);
        if (modifier == "Ctrl")
            accel.fVirt |= FCONTROL;
        else if (modifier == "Shift")
            accel.fVirt |= FSHIFT;
        else if (modifier == "Alt")
            accel.fVirt |= FALT;
        else
            throw std::invalid_argument("unknown modifier in shortcut '" + shortcut + "'");
    }
    const std::string key = shortcut.substr(at);
    if (key.size() == 1 && ((key[0] >= 'A' && key[0] <= 'Z') || (key[0] >= '0' && key[0] <= '9'))) {
        accel.key = static_cast<WORD>(key[0]);
    } else if (key.size() >= 2 && key[0] == 'F' && key.find_first_not_of("0123456789", 1) == std::string::npos &&
               std::stoi(key.substr(1)) >= 1 && std::stoi(key.substr(1)) <= 24) {
        accel.key = static_cast<WORD>(VK_F1 + std::stoi(key.substr(1)) - 1);
    } else {
        throw std::invalid_argument("unknown key in shortcut '" + shortcut + "'");
    }
    return accel;
}

HFONT CreateLabelFont(const Font& font, UINT dpi) {
    LOGFONTW log{};
    log.lfHeight = -MulDiv(font.Size, static_cast<int>(dpi), 72);
    log.lfWeight = font.Weight;
    log.lfItalic = font.Italic;
    log.lfUnderline = font.Underline;
    log.lfStrikeOut = font.Strikethrough;
    log.lfCharSet = static_cast<BYTE>(font.Charset == 0 ? DEFAULT_CHARSET : font.Charset);
    log.lfQuality = CLEARTYPE_QUALITY;
    const std::wstring name = Wide(font.Name).substr(0, LF_FACESIZE - 1);
    name.copy(log.lfFaceName, name.size());
    return CreateFontIndirectW(&log);
}

UINT AlignmentOf(Alignment alignment) {
    switch (alignment) {
        case Alignment::Center:
            return DT_CENTER;
        case Alignment::RightJustify:
            return DT_RIGHT;
        default:
            return DT_LEFT;
    }
}

std::optional<Key> KeyOf(WPARAM key) {
    switch (key) {
        case VK_LEFT:
            return Key::Left;
        case VK_RIGHT:
            return Key::Right;
        case VK_UP:
            return Key::Up;
        case VK_DOWN:
            return Key::Down;
        case VK_SPACE:
            return Key::Space;
        case VK_RETURN:
            return Key::Return;
        default:
            return std::nullopt;
    }
}

// The access key makes Alt and the key (or F10, then the key) open the menu; the shortcut stands right of the caption.
std::wstring MenuLabel(const MenuItem& item) {
    std::wstring text = Wide(item.MarkedCaption());
    if (!item.Shortcut().empty() && item.Children().empty()) text += L"\t" + Wide(item.Shortcut());
    return text;
}

UINT MenuState(const MenuItem& item) {
    return (item.Enabled() ? MFS_ENABLED : MFS_GRAYED) | (item.Checked() ? MFS_CHECKED : MFS_UNCHECKED);
}

std::int16_t ShiftOf(WPARAM keys) {
    std::int16_t shift = 0;
    if (keys & MK_SHIFT) shift |= 1;
    if (keys & MK_CONTROL) shift |= 2;
    if (GetKeyState(VK_MENU) < 0) shift |= 4;
    return shift;
}

void RegisterWindowClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(ProgramIcon));
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = ClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered) throw std::runtime_error("the window class cannot be registered");
}

}  // namespace

FormWindow::FormWindow(Form& form) : FrontEnd(form), frame_(form), dpi_(GetDpiForSystem()), accessible_(*this, form) {
    RegisterWindowClass(WindowProc);
    if (!form.Menus().empty()) BuildMenus();
    const DWORD style = StyleOf(form.Properties());
    hwnd_ = CreateWindowExW(0, ClassName, Wide(form.Properties().Caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menuBar_, GetModuleHandleW(nullptr), this);
    if (hwnd_ == nullptr) {
        if (menuBar_ != nullptr) DestroyMenu(menuBar_);
        if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
        throw std::runtime_error("the window cannot be created");
    }
    FitToDpi(GetDpiForWindow(hwnd_), nullptr);
    liveWindow = this;
}

FormWindow::~FormWindow() {
    if (liveWindow == this) liveWindow = nullptr;
    // Detached first: a window destroyed with its owner, as when start-up fails, must not post the request to quit
    // that would close the failure's message box at once.
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
    if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
    for (HFONT font : fonts_) DeleteObject(font);
}

void FormWindow::BuildMenus() {
    std::vector<ACCEL> shortcuts;
    const std::function<void(HMENU, const MenuItem&)> add = [&](HMENU menu, const MenuItem& item) {
        if (!item.Visible()) return;
        const auto id = static_cast<WORD>(FirstCommand + menuItems_.size());
        menuItems_.push_back({&item, menu, static_cast<UINT>(GetMenuItemCount(menu))});
        if (item.IsSeparator()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            return;
        }
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING | MIIM_STATE | MIIM_ID;
        info.fState = MenuState(item);
        info.wID = id;
        std::wstring text = MenuLabel(item);
        info.dwTypeData = text.data();
        if (!item.Children().empty()) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = CreatePopupMenu();
            for (const auto& child : item.Children()) add(info.hSubMenu, *child);
        } else if (!item.Shortcut().empty()) {
            shortcuts.push_back(ParseShortcut(item.Shortcut(), id));
        }
        InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
    };
    menuBar_ = CreateMenu();
    for (const auto& item : TheForm().Menus()) add(menuBar_, *item);
    if (!shortcuts.empty())
        accelerators_ = CreateAcceleratorTableW(shortcuts.data(), static_cast<int>(shortcuts.size()));
}

void FormWindow::MenuItemChanged(const MenuItem& item) {
    for (const MenuEntry& entry : menuItems_) {
        if (entry.Item != &item || item.IsSeparator()) continue;
        std::wstring text = MenuLabel(item);
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING | MIIM_STATE;
        info.fState = MenuState(item);
        info.dwTypeData = text.data();
        SetMenuItemInfoW(entry.Menu, entry.Position, TRUE, &info);
        if (entry.Menu == menuBar_) DrawMenuBar(hwnd_);
    }
}

// The client area keeps the design's size in design pixels on every monitor; Windows' suggestion only places it.
void FormWindow::FitToDpi(UINT dpi, const RECT* suggested) {
    dpi_ = dpi;
    for (HFONT font : fonts_) DeleteObject(font);
    fonts_.clear();
    for (const Label* label : TheForm().Labels()) fonts_.push_back(CreateLabelFont(label->Properties().Font, dpi));
    RECT frame{0, 0, static_cast<LONG>(std::lround(TheForm().Properties().ClientWidth * Scale())),
               static_cast<LONG>(std::lround(TheForm().Properties().ClientHeight * Scale()))};
    AdjustWindowRectExForDpi(&frame, StyleOf(TheForm().Properties()), menuBar_ != nullptr, 0, dpi);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE);
    SetWindowPos(hwnd_, nullptr, suggested ? suggested->left : 0, suggested ? suggested->top : 0,
                 frame.right - frame.left, frame.bottom - frame.top, flags);
    InvalidateAll();
}

void FormWindow::ShowWindow() {
    shown_ = true;
    ::ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
}

void FormWindow::LabelChanged(const Label& label) {
    const Label::Design& d = label.Properties();
    Invalidate(Rect{d.Left, d.Top, d.Left + d.Width, d.Top + d.Height});
    accessible_.LabelChanged(label);
}

void FormWindow::CursorChanged(PictureBox& surface) {
    Invalidate(SurfaceRect(surface));
    accessible_.CursorChanged(surface);
}

void FormWindow::RepaintSurface(PictureBox& surface) {
    if (!shown_) return;
    Invalidate(SurfaceRect(surface));
    UpdateWindow(hwnd_);
}

void FormWindow::InvalidateAll() {
    if (shown_) InvalidateRect(hwnd_, nullptr, FALSE);
}

// One design pixel more on each side: smoothing at a fractional scale reads the neighbours of what it draws.
void FormWindow::Invalidate(const Rect& designArea) {
    if (!shown_) return;
    const double scale = Scale();
    const RECT area{static_cast<LONG>(std::floor((designArea.Left - 1) * scale)),
                    static_cast<LONG>(std::floor((designArea.Top - 1) * scale)),
                    static_cast<LONG>(std::ceil((designArea.Right + 1) * scale)),
                    static_cast<LONG>(std::ceil((designArea.Bottom + 1) * scale))};
    InvalidateRect(hwnd_, &area, FALSE);
}

// Composed at the design's size, scaled onto a back buffer, the labels drawn over it, then shown in one copy.
void FormWindow::Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd_, &paint);
    const double scale = Scale();
    const Rect dirty{static_cast<int>(std::floor(paint.rcPaint.left / scale)) - 1,
                     static_cast<int>(std::floor(paint.rcPaint.top / scale)) - 1,
                     static_cast<int>(std::ceil(paint.rcPaint.right / scale)) + 1,
                     static_cast<int>(std::ceil(paint.rcPaint.bottom / scale)) + 1};
    const gdi::SurfaceBits bits = frame_.Compose(dirty);
    RECT client;
    GetClientRect(hwnd_, &client);
    const HDC buffer = CreateCompatibleDC(dc);
    const HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    const HGDIOBJ previous = SelectObject(buffer, bitmap);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bits.width;
    info.bmiHeader.biHeight = -bits.height;  // top-down, as the raster layer stores its rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (dpi_ == 96) {
        SetDIBitsToDevice(buffer, 0, 0, bits.width, bits.height, 0, 0, 0, bits.height, bits.pixels, &info,
                          DIB_RGB_COLORS);
    } else {
        // Whole-number scales replicate each pixel exactly; fractional ones are smoothed.
        SetStretchBltMode(buffer, dpi_ % 96 == 0 ? COLORONCOLOR : HALFTONE);
        SetBrushOrgEx(buffer, 0, 0, nullptr);
        StretchDIBits(buffer, 0, 0, static_cast<int>(std::lround(bits.width * scale)),
                      static_cast<int>(std::lround(bits.height * scale)), 0, 0, bits.width, bits.height, bits.pixels,
                      &info, DIB_RGB_COLORS, gdi::SRCCOPY);
    }
    DrawLabels(buffer);
    BitBlt(dc, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right - paint.rcPaint.left,
           paint.rcPaint.bottom - paint.rcPaint.top, buffer, paint.rcPaint.left, paint.rcPaint.top, gdi::SRCCOPY);
    SelectObject(buffer, previous);
    DeleteObject(bitmap);
    DeleteDC(buffer);
    EndPaint(hwnd_, &paint);
}

void FormWindow::DrawLabels(HDC hdc) {
    const double scale = Scale();
    SetBkMode(hdc, TRANSPARENT);
    for (std::size_t i = 0; i < TheForm().Labels().size(); ++i) {
        const Label::Design& design = TheForm().Labels()[i]->Properties();
        RECT box{static_cast<LONG>(std::lround(design.Left * scale)),
                 static_cast<LONG>(std::lround(design.Top * scale)),
                 static_cast<LONG>(std::lround((design.Left + design.Width) * scale)),
                 static_cast<LONG>(std::lround((design.Top + design.Height) * scale))};
        if (!design.Transparent) {
            const HBRUSH brush = CreateSolidBrush(design.BackColor);
            FillRect(hdc, &box, brush);
            DeleteObject(brush);
        }
        const HGDIOBJ previous = SelectObject(hdc, fonts_[i]);
        SetTextColor(hdc, design.ForeColor);
        const std::wstring text = Wide(TheForm().Labels()[i]->Caption());
        DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &box,
                  AlignmentOf(design.Alignment) | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(hdc, previous);
    }
}

void FormWindow::Press(std::int16_t button, WPARAM keys, LPARAM at) {
    const double x = static_cast<short>(LOWORD(at)) / Scale();
    const double y = static_cast<short>(HIWORD(at)) / Scale();
    PictureBox* surface = frame_.SurfaceAt(x, y);
    if (surface == nullptr || !surface->MouseDown) return;
    RunHandler([&] {
        surface->MouseDown(button, ShiftOf(keys), static_cast<float>(x - surface->Left()),
                           static_cast<float>(y - surface->Top()));
    });
}

// The window's only focus is the surface that is a table of cells, as the board is: its keys go there.
bool FormWindow::KeyDown(WPARAM key) {
    const std::optional<Key> pressed = KeyOf(key);
    if (!pressed) return false;
    for (PictureBox* surface : TheForm().Surfaces()) {
        if (surface->Table() == nullptr || !surface->Visible()) continue;
        RunHandler([surface, pressed] { surface->Table()->KeyDown(*pressed); });
        return true;
    }
    return false;
}

void FormWindow::DestroyWindow() { ::DestroyWindow(hwnd_); }

void FormWindow::EndEventLoop() { PostQuitMessage(1); }

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* window = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        window->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    auto* window = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return window != nullptr ? window->Handle(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT FormWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<LRESULT> answer = accessible_.Handle(message, wParam, lParam)) return *answer;
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
            Press(1, wParam, lParam);
            return 0;
        case WM_RBUTTONDOWN:
            Press(2, wParam, lParam);
            return 0;
        case WM_MBUTTONDOWN:
            Press(4, wParam, lParam);
            return 0;
        case WM_COMMAND: {
            const UINT id = LOWORD(wParam);
            if (id >= FirstCommand && id - FirstCommand < menuItems_.size()) {
                const MenuItem* item = menuItems_[id - FirstCommand].Item;
                RunHandler([item] { item->Choose(); });
                return 0;
            }
            break;
        }
        case WM_KEYDOWN:
            if (KeyDown(wParam)) return 0;
            break;
        case WM_CLOSE:
            if (CloseRequested()) ::DestroyWindow(hwnd_);
            return 0;
        case WM_DPICHANGED:
            FitToDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DESTROY:
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            PostQuitMessage(Failed() ? 1 : 0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

int FormWindow::Run() {
    MSG message;
    while (!Failed() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (accelerators_ != nullptr && hwnd_ != nullptr && TranslateAcceleratorW(hwnd_, accelerators_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return Failed() ? 1 : 0;
}

void ProcessPendingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        const FormWindow* window = liveWindow;
        if (window != nullptr && window->Accelerators() != nullptr && window->Handle() != nullptr &&
            TranslateAcceleratorW(window->Handle(), window->Accelerators(), &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace toolkit::win32

std::unique_ptr<toolkit::FrontEnd> toolkit::OpenWindow(Form& form) { return std::make_unique<win32::FormWindow>(form); }
