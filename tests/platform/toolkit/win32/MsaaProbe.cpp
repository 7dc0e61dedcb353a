// A screen reader's view of a window from another process, for the front end's accessibility test: it reads the
// window's Active Accessibility objects and hears its WinEvents out of context, as screen readers do. One command a
// line on standard input; each answer ends with an empty line.
//   msaa_probe <window handle>
// walk: every object from the client down, one a line: <indent><role> "<name>"[ focusable][ focused][ <action>]
// focus: the name of the client's focused object
// press <n>, location <n>: the default action, "left top width height" of the table's child n
// hit <x> <y>: the name of the deepest object at the screen point
// await <kind>: the name the next focus, namechange or liveregion event of the client's children resolves to
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After the Windows API.
#include <oleacc.h>

#include <cstdint>
#include <cstdio>
#include <deque>
#include <map>
#include <sstream>
#include <string>
#include <utility>

namespace {

HWND target = nullptr;
std::deque<std::pair<std::string, std::string>> heard;  // kind, name

std::string Utf8(BSTR text) {
    std::string out;
    for (const wchar_t* c = text; c != nullptr && *c != 0; ++c) out += static_cast<char>(*c < 128 ? *c : '?');
    return out;
}

std::string Name(IAccessible* object, VARIANT child) {
    BSTR name = nullptr;
    object->get_accName(child, &name);
    std::string text = Utf8(name);
    SysFreeString(name);
    return text;
}

VARIANT Self() {
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

std::string Error(HRESULT result) {
    char text[24];
    std::snprintf(text, sizeof text, "error %08lx\n", static_cast<unsigned long>(result));
    return text;
}

IAccessible* AsAccessible(IDispatch* object) {
    IAccessible* accessible = nullptr;
    if (object != nullptr) object->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&accessible));
    if (object != nullptr) object->Release();
    return accessible;
}

void CALLBACK Heard(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    static const std::map<DWORD, std::string> kinds{
        {EVENT_OBJECT_FOCUS, "focus"}, {EVENT_OBJECT_NAMECHANGE, "namechange"}, {0x8019, "liveregion"}};
    if (hwnd != target || object != OBJID_CLIENT || child == CHILDID_SELF || kinds.count(event) == 0) return;
    // Its place is taken first: events that come while this one is resolved are heard after it.
    heard.emplace_back(kinds.at(event), "unresolved");
    const std::size_t place = heard.size() - 1;
    IAccessible* source = nullptr;
    VARIANT id;
    if (FAILED(AccessibleObjectFromEvent(hwnd, object, child, &source, &id))) return;
    heard[place].second = Name(source, id);
    source->Release();
}

void Walk(IAccessible* object, int depth, std::string& out) {
    static const std::map<LONG, std::string> roles{{ROLE_SYSTEM_CLIENT, "client"},
                                                   {ROLE_SYSTEM_TABLE, "table"},
                                                   {ROLE_SYSTEM_CELL, "cell"},
                                                   {ROLE_SYSTEM_STATUSBAR, "statusbar"},
                                                   {ROLE_SYSTEM_STATICTEXT, "text"}};
    VARIANT role, state;
    BSTR action = nullptr;
    HRESULT result = object->get_accRole(Self(), &role);
    if (SUCCEEDED(result)) result = object->get_accState(Self(), &state);
    if (FAILED(result)) {
        out += Error(result);
        return;
    }
    object->get_accDefaultAction(Self(), &action);
    out += std::string(depth, ' ') + (roles.count(role.lVal) ? roles.at(role.lVal) : "?") + " \"" +
           Name(object, Self()) + "\"" + (state.lVal & STATE_SYSTEM_FOCUSABLE ? " focusable" : "") +
           (state.lVal & STATE_SYSTEM_FOCUSED ? " focused" : "") + (action ? " " + Utf8(action) : "") + "\n";
    SysFreeString(action);
    LONG count = 0;
    object->get_accChildCount(&count);
    VARIANT children[16];
    LONG obtained = 0;
    if (count > 16 || FAILED(AccessibleChildren(object, 0, count, children, &obtained))) return;
    for (LONG i = 0; i < obtained; ++i)
        if (IAccessible* child = children[i].vt == VT_DISPATCH ? AsAccessible(children[i].pdispVal) : nullptr) {
            Walk(child, depth + 1, out);
            child->Release();
        }
}

IAccessible* TableChild(IAccessible* client, LONG index) {
    VARIANT first;
    if (client->accNavigate(NAVDIR_FIRSTCHILD, Self(), &first) != S_OK || first.vt != VT_DISPATCH) return nullptr;
    IAccessible* table = AsAccessible(first.pdispVal);
    IDispatch* cell = nullptr;
    VARIANT id = Self();
    id.lVal = index;
    if (table != nullptr) table->get_accChild(id, &cell);
    if (table != nullptr) table->Release();
    return AsAccessible(cell);
}

std::string Await(const std::string& kind) {
    for (const DWORD end = GetTickCount() + 10000; GetTickCount() < end;) {
        for (auto it = heard.begin(); it != heard.end(); ++it)
            if (it->first == kind) {
                std::string name = it->second;
                heard.erase(it);
                return name;
            }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return "timeout";
}

std::string Answer(IAccessible* client, const std::string& line) {
    std::istringstream in(line);
    std::string command;
    LONG a = 0, b = 0;
    in >> command >> a >> b;
    if (command == "walk") {
        std::string out;
        Walk(client, 0, out);
        return out;
    }
    if (command == "await") return Await(line.substr(6)) + "\n";
    if (command == "focus") {
        VARIANT focus;
        if (client->get_accFocus(&focus) != S_OK || focus.vt != VT_DISPATCH) return "none\n";
        IAccessible* focused = AsAccessible(focus.pdispVal);
        const std::string name = focused ? Name(focused, Self()) : "none";
        if (focused) focused->Release();
        return name + "\n";
    }
    if (command == "hit") {
        IAccessible* at = client;
        at->AddRef();
        VARIANT hit;
        while (at->accHitTest(a, b, &hit) == S_OK && hit.vt == VT_DISPATCH) {
            at->Release();
            at = AsAccessible(hit.pdispVal);
        }
        const std::string name = Name(at, Self());
        at->Release();
        return name + "\n";
    }
    IAccessible* cell = TableChild(client, a);
    if (cell == nullptr) return "no child " + std::to_string(a) + "\n";
    LONG left = 0, top = 0, width = 0, height = 0;
    const HRESULT result =
        command == "press" ? cell->accDoDefaultAction(Self()) : cell->accLocation(&left, &top, &width, &height, Self());
    cell->Release();
    if (FAILED(result)) return Error(result);
    if (command == "press") return "ok\n";
    return std::to_string(left) + " " + std::to_string(top) + " " + std::to_string(width) + " " +
           std::to_string(height) + "\n";
}

bool ReadLine(std::string& line) {
    line.clear();
    char c;
    DWORD read = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &read, nullptr) && read == 1) {
        if (c == '\n') return true;
        if (c != '\r') line += c;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    target = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::stoull(argv[1])));
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    DWORD process = 0;
    GetWindowThreadProcessId(target, &process);
    SetWinEventHook(EVENT_OBJECT_FOCUS, 0x8019, nullptr, Heard, process, 0, WINEVENT_OUTOFCONTEXT);
    IAccessible* client = nullptr;
    if (FAILED(
            AccessibleObjectFromWindow(target, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&client))))
        return 1;
    for (std::string line; ReadLine(line);) {
        const std::string answer = Answer(client, line) + "\n";
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), answer.data(), static_cast<DWORD>(answer.size()), &written, nullptr);
    }
    client->Release();
    CoUninitialize();
    return 0;
}
