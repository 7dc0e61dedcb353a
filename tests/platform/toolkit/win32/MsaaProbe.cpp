// A screen reader's view of a window from another process, for the front end's accessibility test: it reads the
// window's Active Accessibility objects and hears its WinEvents out of context, as screen readers do. One command a
// line on standard input; each answer ends with an empty line.
//   msaa_probe <window handle>
// walk: every object from the client down, one a line: <indent><role> "<name>"[ focusable][ focused][ <action>]
// focus: the name of the client's focused object      press <n>: the default action of the client's child n
// hit <x> <y>: the name of the deepest object at the screen point
// await <kind>: the name the next focus, namechange or liveregion event of the client's children resolves to
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After the Windows API.
#include <fcntl.h>
#include <io.h>
#include <oleacc.h>

#include <cstdint>
#include <deque>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <utility>

namespace {

HWND target = nullptr;
std::deque<std::pair<std::string, std::string>> heard;  // kind, name
const VARIANT self{{{VT_I4, 0, 0, 0, {.lVal = CHILDID_SELF}}}};

// Frees the text; the test's names are ASCII.
std::string Narrow(BSTR text) {
    std::string narrow;
    for (const wchar_t* c = text; c != nullptr && *c != 0; ++c) narrow += static_cast<char>(*c);
    SysFreeString(text);
    return narrow;
}

std::string Name(IAccessible* object, VARIANT child = self) {
    BSTR name = nullptr;
    object->get_accName(child, &name);
    return Narrow(name);
}

// Takes over the reference to `object`.
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
    VARIANT role, state;
    BSTR action = nullptr;
    HRESULT result = object->get_accRole(self, &role);
    if (SUCCEEDED(result)) result = object->get_accState(self, &state);
    if (FAILED(result)) {
        out += "error " + std::to_string(result) + "\n";
        return;
    }
    char roleText[32] = "";
    GetRoleTextA(role.lVal, roleText, sizeof roleText);
    object->get_accDefaultAction(self, &action);
    out += std::string(depth, ' ') + roleText + " \"" + Name(object) + "\"" +
           (state.lVal & STATE_SYSTEM_FOCUSABLE ? " focusable" : "") +
           (state.lVal & STATE_SYSTEM_FOCUSED ? " focused" : "") + (action ? " " : "") + Narrow(action) + "\n";
    LONG count = 0;
    VARIANT children[16];
    object->get_accChildCount(&count);
    if (count > 16 || FAILED(AccessibleChildren(object, 0, count, children, &count))) return;
    for (LONG i = 0; i < count; ++i)
        if (IAccessible* child = children[i].vt == VT_DISPATCH ? AsAccessible(children[i].pdispVal) : nullptr) {
            Walk(child, depth + 1, out);
            child->Release();
        }
}

std::string Await(const std::string& kind) {
    for (const DWORD end = GetTickCount() + 10000; GetTickCount() < end;) {
        for (auto it = heard.begin(); it != heard.end(); ++it)
            if (it->first == kind) {
                const std::string name = it->second;
                heard.erase(it);
                return name;
            }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
    }
    return "timeout";
}

std::string Answer(IAccessible* client, const std::string& line) {
    std::istringstream in(line);
    std::string command, out;
    LONG x = 0, y = 0;
    in >> command >> x >> y;
    VARIANT found = self;
    IAccessible* at = nullptr;
    if (command == "walk") Walk(client, 0, out);
    if (command == "await") return Await(line.substr(6)) + "\n";
    if (command == "focus" && client->get_accFocus(&found) == S_OK && found.vt == VT_DISPATCH)
        at = AsAccessible(found.pdispVal);
    if (command == "press") {
        found.lVal = x;
        IDispatch* child = nullptr;
        client->get_accChild(found, &child);
        at = AsAccessible(child);
        if (at != nullptr) out = at->accDoDefaultAction(self) == S_OK ? "ok\n" : "failed\n";
    }
    if (command == "hit")
        for (at = client, client->AddRef(); at->accHitTest(x, y, &found) == S_OK && found.vt == VT_DISPATCH;) {
            at->Release();
            at = AsAccessible(found.pdispVal);
        }
    if (at != nullptr && out.empty()) out = Name(at) + "\n";
    if (at != nullptr) at->Release();
    return out.empty() ? "none\n" : out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    _setmode(_fileno(stdout), _O_BINARY);
    target = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::stoull(argv[1])));
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    DWORD process = 0;
    GetWindowThreadProcessId(target, &process);
    SetWinEventHook(EVENT_OBJECT_FOCUS, 0x8019, nullptr, Heard, process, 0, WINEVENT_OUTOFCONTEXT);
    IAccessible* client = nullptr;
    if (FAILED(
            AccessibleObjectFromWindow(target, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&client))))
        return 1;
    for (std::string line; std::getline(std::cin, line);) std::cout << Answer(client, line) << "\n" << std::flush;
    client->Release();
    CoUninitialize();
    return 0;
}
