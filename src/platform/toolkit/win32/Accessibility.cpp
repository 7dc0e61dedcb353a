#include "platform/toolkit/win32/Accessibility.h"

// After the Windows API.
#include <oleacc.h>

#include <functional>
#include <vector>

#include "platform/toolkit/win32/AccessibleTree.h"
#include "platform/toolkit/win32/ComObject.h"
#include "platform/toolkit/win32/LookUp.h"
#include "platform/toolkit/win32/Text.h"

namespace toolkit::win32 {

namespace {

using Part = AccessibleTree::Part;
using Element = AccessibleTree::Element;

// A press is posted and runs from the window's message loop, as a click does: run inside the client's call, the
// move would keep the client waiting on any box it shows. The window's class is the program's own, so the
// application's range of messages is free for it, and no name is registered with the system for it at start.
constexpr UINT PressMessage = WM_APP + 1;

// Active Accessibility's own functions, looked up at the first request, so that start-up does not load oleacc.dll.
LRESULT ResultFromObject(WPARAM wParam, IAccessible* object) {
    static const auto function = LookUp<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
    return function != nullptr ? function(__uuidof(IAccessible), wParam, object) : 0;
}

HRESULT WindowObject(HWND window, IDispatch** object) {
    static const auto function =
        LookUp<decltype(&AccessibleObjectFromWindow)>(L"oleacc.dll", "AccessibleObjectFromWindow");
    if (function == nullptr) return E_NOTIMPL;
    return function(window, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(object));
}

HRESULT Text(const std::wstring& text, BSTR* out) {
    if (text.empty()) return S_FALSE;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

void Notify(const AccessibleTree& tree, DWORD event, Element element) {
    if (tree.Live()) NotifyWinEvent(event, tree.Window(), OBJID_CLIENT, tree.ChildId(element));
}

// One element for Active Accessibility's clients. Every element is an object of its own, so each method answers for
// CHILDID_SELF only, except get_accChild, which also finds a cell by the child id its events carry. Calls come on the
// window's thread through COM; an exception never leaves them.
class AccessibleObject final : public ComObject<IAccessible> {
public:
    AccessibleObject(std::shared_ptr<const AccessibleTree> tree, Element element)
        : tree_(std::move(tree)), element_(element) {}

    IDispatch* Make(Element element) const { return new AccessibleObject(tree_, element); }

    // No type information: clients call IAccessible's methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (parent == nullptr) return E_POINTER;
        *parent = nullptr;
        return Answer(nullptr, [&] {
            if (const std::optional<Element> up = tree_->Parent(element_)) {
                *parent = Make(*up);
                return S_OK;
            }
            // The client's parent is the window, as for Windows' own client objects.
            return WindowObject(tree_->Window(), parent);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return Answer(nullptr, [&] {
            *count = static_cast<LONG>(tree_->Children(element_).size());
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
        if (child == nullptr) return E_POINTER;
        *child = nullptr;
        return Answer(nullptr, [&] {
            if (id.vt != VT_I4) return E_INVALIDARG;
            std::optional<Element> found;
            if (element_.Kind == Part::Client) {
                found = tree_->FromChildId(id.lVal);
            } else if (const std::vector<Element> children = tree_->Children(element_);
                       id.lVal >= 1 && static_cast<std::size_t>(id.lVal) <= children.size()) {
                found = children[id.lVal - 1];
            }
            if (!found) return E_INVALIDARG;
            *child = Make(*found);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
        return Describe(id, name, [this] { return tree_->Name(element_); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override { return Describe(id, value, {}); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* text) override { return Describe(id, text, {}); }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* help) override { return Describe(id, help, {}); }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* keys) override {
        return Describe(id, keys, {});
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override {
        return Describe(id, action, [this] { return std::wstring(element_.Kind == Part::Cell ? L"Press" : L""); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
        return Number(id, role, [this] { return tree_->Role(element_); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
        return Number(id, state, [this] { return tree_->State(element_); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        if (file == nullptr || topic == nullptr) return E_POINTER;
        *file = nullptr;
        *topic = 0;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (focus == nullptr) return E_POINTER;
        VariantInit(focus);
        return Answer(nullptr, [&] {
            const std::optional<Element> focused = tree_->Focus();
            if (focused == element_) {
                focus->vt = VT_I4;
                focus->lVal = CHILDID_SELF;
                return S_OK;
            }
            if (!focused || !tree_->Contains(element_, *focused)) return S_FALSE;
            focus->vt = VT_DISPATCH;
            focus->pdispVal = Make(*focused);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (selection == nullptr) return E_POINTER;
        VariantInit(selection);
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT id) override {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
        *left = *top = *width = *height = 0;
        return Answer(&id, [&] {
            const RECT box = tree_->Bounds(element_);
            *left = box.left;
            *top = box.top;
            *width = box.right - box.left;
            *height = box.bottom - box.top;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        if (end == nullptr) return E_POINTER;
        VariantInit(end);
        return Answer(&start, [&] {
            if (direction < NAVDIR_UP || direction > NAVDIR_LASTCHILD) return E_INVALIDARG;
            return Found(tree_->Navigate(element_, direction), end);
        });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
        if (hit == nullptr) return E_POINTER;
        VariantInit(hit);
        return Answer(nullptr, [&] {
            const POINT at{x, y};
            const RECT box = tree_->Bounds(element_);
            if (!PtInRect(&box, at)) return S_FALSE;
            for (const Element& child : tree_->Children(element_))
                if (const RECT childBox = tree_->Bounds(child); PtInRect(&childBox, at)) return Found(child, hit);
            hit->vt = VT_I4;
            hit->lVal = CHILDID_SELF;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override {
        return Answer(&id, [this] {
            if (element_.Kind != Part::Cell) return DISP_E_MEMBERNOTFOUND;
            PostMessageW(tree_->Window(), PressMessage, static_cast<WPARAM>(element_.Index), 0);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }

private:
    bool Implements(REFIID id) const override { return ComObject::Implements(id) || id == __uuidof(IDispatch); }

    // Runs `body` while the element is still there and `child`, when given, names the element itself.
    template <typename Body>
    HRESULT Answer(const VARIANT* child, Body body) const noexcept {
        try {
            if (!tree_->Live() || !tree_->Exists(element_)) return CO_E_OBJNOTCONNECTED;
            if (child != nullptr && (child->vt != VT_I4 || child->lVal != CHILDID_SELF)) return E_INVALIDARG;
            return body();
        } catch (...) {
            return E_FAIL;
        }
    }
    HRESULT Describe(VARIANT id, BSTR* out, const std::function<std::wstring()>& text) const {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        return Answer(&id, [&] { return text ? Text(text(), out) : S_FALSE; });
    }
    template <typename Value>
    HRESULT Number(VARIANT id, VARIANT* out, Value value) const {
        if (out == nullptr) return E_POINTER;
        VariantInit(out);
        return Answer(&id, [&] {
            out->vt = VT_I4;
            out->lVal = value();
            return S_OK;
        });
    }
    HRESULT Found(std::optional<Element> element, VARIANT* out) const {
        if (!element) return S_FALSE;
        out->vt = VT_DISPATCH;
        out->pdispVal = Make(*element);
        return S_OK;
    }

    std::shared_ptr<const AccessibleTree> tree_;
    Element element_;
};

}  // namespace

AccessibleWindow::AccessibleWindow(AccessibleHost& window, const Form& form)
    : window_(window), tree_(std::make_shared<AccessibleTree>(window, form)) {
    if (const PictureBox* surface = tree_->TableSurface()) {
        cursorRow_ = surface->Table()->CursorRow();
        cursorColumn_ = surface->Table()->CursorColumn();
    }
}

AccessibleWindow::~AccessibleWindow() { tree_->Detach(); }

std::optional<LRESULT> AccessibleWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT && static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
        IAccessible* client = new AccessibleObject(tree_, Element{Part::Client, 0});
        const LRESULT answer = ResultFromObject(wParam, client);
        client->Release();
        return answer;
    }
    if (message == PressMessage) {
        const int cell = static_cast<int>(wParam);
        if (tree_->Live() && tree_->Exists({Part::Cell, cell})) {
            CellTable* table = tree_->TableSurface()->Table();
            window_.RunAction([table, cell] { table->PressCell(cell / table->Columns(), cell % table->Columns()); });
        }
        return 0;
    }
    if (message == WM_SETFOCUS) FocusCursor();
    return std::nullopt;
}

// Showing or hiding the cursor moves no focus.
void AccessibleWindow::CursorChanged(const PictureBox& surface) {
    if (&surface != tree_->TableSurface()) return;
    if (surface.Table()->CursorRow() != cursorRow_ || surface.Table()->CursorColumn() != cursorColumn_) FocusCursor();
}

void AccessibleWindow::FocusCursor() {
    const PictureBox* surface = tree_->TableSurface();
    if (surface == nullptr || !tree_->Live()) return;
    cursorRow_ = surface->Table()->CursorRow();
    cursorColumn_ = surface->Table()->CursorColumn();
    const std::optional<Element> focus = tree_->Focus();
    if (focus && focus->Kind == Part::Cell) Notify(*tree_, EVENT_OBJECT_FOCUS, *focus);
}

void AccessibleWindow::CellChanged(const PictureBox& surface, int row, int column) {
    if (&surface == tree_->TableSurface())
        Notify(*tree_, EVENT_OBJECT_NAMECHANGE, {Part::Cell, row * surface.Table()->Columns() + column});
}

void AccessibleWindow::LabelChanged(const Label& label) {
    if (const std::optional<Element> status = tree_->StatusOf(label)) Notify(*tree_, EVENT_OBJECT_NAMECHANGE, *status);
}

// One way for each sentence, so that no screen reader speaks it twice.
void AccessibleWindow::Announce(const std::string& sentence) {
    tree_->Notice = Wide(sentence);
    if (tree_->Live() && !notifications_.Raise(window_.Handle(), tree_->Notice))
        Notify(*tree_, EVENT_OBJECT_LIVEREGIONCHANGED, {Part::Notice, 0});
}

}  // namespace toolkit::win32
