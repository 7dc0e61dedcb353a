// A screen reader's view of a window from another process, for the front end's accessibility test: it reads the
// window's Active Accessibility objects and hears its WinEvents out of context, as screen readers do. One command a
// line on standard input; each answer ends with an empty line.
//   msaa_probe <window handle>
// walk: every object from the client down, one a line: <indent><role> "<name>"[ focusable][ focused][ <action>]
// focus: the name of the client's focused object      press <n>: the default action of the client's child n
// hit <x> <y>: the name of the deepest object at the screen point
// await <kind>: the name the next focus, namechange or liveregion event of the client's children resolves to
// abuse <group>: a group of calls no well-behaved client makes, on every object: the distinct results, in hexadecimal
// storm <n>: n quick reads of the cells, every 97th a press; the calls that failed
// hold: keeps every object of the tree      held: the distinct results of reading the kept objects' names
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After the Windows API.
#include <fcntl.h>
#include <io.h>
#include <oleacc.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

HWND target = nullptr;
std::deque<std::pair<std::string, std::string>> heard;  // kind, name
bool listening = true;
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
    if (!listening || hwnd != target || object != OBJID_CLIENT || child == CHILDID_SELF || kinds.count(event) == 0)
        return;
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

// Every object of the tree, the client first; the caller releases them.
std::vector<IAccessible*> Objects(IAccessible* object) {
    object->AddRef();
    std::vector<IAccessible*> all{object};
    LONG count = 0;
    VARIANT children[16];
    object->get_accChildCount(&count);
    if (count > 16 || FAILED(AccessibleChildren(object, 0, count, children, &count))) return all;
    for (LONG i = 0; i < count; ++i)
        if (IAccessible* child = children[i].vt == VT_DISPATCH ? AsAccessible(children[i].pdispVal) : nullptr) {
            for (IAccessible* below : Objects(child)) all.push_back(below);
            child->Release();
        }
    return all;
}

void Release(std::vector<IAccessible*>& objects) {
    for (IAccessible* object : objects) object->Release();
    objects.clear();
}

VARIANT Id(LONG id) { return {{{VT_I4, 0, 0, 0, {.lVal = id}}}}; }

// An object a call handed back must answer in turn: its result stands in for the call's when it does not.
HRESULT Returned(HRESULT result, VARIANT& out) {
    if (result == S_OK && out.vt == VT_DISPATCH) {
        IAccessible* returned = AsAccessible(out.pdispVal);
        VARIANT role;
        result = returned != nullptr ? returned->get_accRole(self, &role) : E_NOINTERFACE;
        if (returned != nullptr) returned->Release();
        out.vt = VT_EMPTY;
    }
    VariantClear(&out);
    return result;
}

// Every call that names a child, by the VARIANT it is given.
void EachChildCall(IAccessible* object, VARIANT child, std::set<HRESULT>& seen) {
    const std::function<HRESULT(BSTR*)> texts[] = {
        [&](BSTR* out) { return object->get_accName(child, out); },
        [&](BSTR* out) { return object->get_accValue(child, out); },
        [&](BSTR* out) { return object->get_accDescription(child, out); },
        [&](BSTR* out) { return object->get_accHelp(child, out); },
        [&](BSTR* out) { return object->get_accKeyboardShortcut(child, out); },
        [&](BSTR* out) { return object->get_accDefaultAction(child, out); }};
    for (const auto& text : texts) {
        BSTR out = nullptr;
        seen.insert(text(&out));
        SysFreeString(out);
    }
    VARIANT out{};
    seen.insert(Returned(object->get_accRole(child, &out), out));
    seen.insert(Returned(object->get_accState(child, &out), out));
    seen.insert(Returned(object->accNavigate(NAVDIR_NEXT, child, &out), out));
    LONG left, top, width, height;
    seen.insert(object->accLocation(&left, &top, &width, &height, child));
    seen.insert(object->accDoDefaultAction(child));
}

// Each group on one object, every result it gave added to `seen`.
using Abuse = std::function<void(IAccessible*, std::set<HRESULT>&)>;
const std::map<std::string, Abuse> abuses{
    {"ids",
     [](IAccessible* object, std::set<HRESULT>& seen) {
         for (LONG id : {LONG_MIN, -1000L, -10L, -1L, 1L, 3L, 4L, 9L, 10L, 1000L, LONG_MAX})
             EachChildCall(object, Id(id), seen);
     }},
    {"types",
     [](IAccessible* object, std::set<HRESULT>& seen) {
         LONG zero = 0;
         const BSTR text = SysAllocString(L"0");
         VARIANT wrong[] = {{{{VT_EMPTY, 0, 0, 0, {}}}},
                            {{{VT_NULL, 0, 0, 0, {}}}},
                            {{{VT_I2, 0, 0, 0, {.iVal = 0}}}},
                            {{{VT_UI4, 0, 0, 0, {.ulVal = 0}}}},
                            {{{VT_I8, 0, 0, 0, {.llVal = 0}}}},
                            {{{VT_R8, 0, 0, 0, {.dblVal = 0}}}},
                            {{{VT_BSTR, 0, 0, 0, {.bstrVal = text}}}},
                            {{{VT_DISPATCH, 0, 0, 0, {.pdispVal = nullptr}}}},
                            {{{VT_I4 | VT_BYREF, 0, 0, 0, {.plVal = &zero}}}}};
         for (const VARIANT& child : wrong) {
             EachChildCall(object, child, seen);
             IDispatch* found = nullptr;
             seen.insert(object->get_accChild(child, &found));
             if (found != nullptr) found->Release();
         }
         SysFreeString(text);
     }},
    {"children",
     [](IAccessible* object, std::set<HRESULT>& seen) {
         for (LONG id : {LONG_MIN, -1000L, -10L, 0L, 10L, 1000L, LONG_MAX}) {
             IDispatch* found = nullptr;
             seen.insert(object->get_accChild(Id(id), &found));
             if (found != nullptr) found->Release();
         }
     }},
    {"directions",
     [](IAccessible* object, std::set<HRESULT>& seen) {
         VARIANT out{};
         for (LONG direction : {LONG_MIN, -1L, 0L, 9L, 1000L, LONG_MAX})
             seen.insert(Returned(object->accNavigate(direction, self, &out), out));
     }},
    {"navigate",
     [](IAccessible* object, std::set<HRESULT>& seen) {
         VARIANT out{};
         for (LONG direction = NAVDIR_UP; direction <= NAVDIR_LASTCHILD; ++direction)
             seen.insert(Returned(object->accNavigate(direction, self, &out), out));
     }},
    {"hit",
     [](IAccessible* object, std::set<HRESULT>& seen) {
         RECT window;
         GetWindowRect(target, &window);
         std::vector<LONG> xs{LONG_MIN, -1, 0, LONG_MAX}, ys = xs;
         for (LONG x = window.left - 20; x < window.right + 20; x += 37) xs.push_back(x);
         for (LONG y = window.top - 20; y < window.bottom + 20; y += 37) ys.push_back(y);
         VARIANT out{};
         for (LONG x : xs)
             for (LONG y : ys) seen.insert(Returned(object->accHitTest(x, y, &out), out));
     }},
    {"select",
     [](IAccessible* object, std::set<HRESULT>& seen) {
         for (LONG flags = -1; flags <= 0x20; ++flags) seen.insert(object->accSelect(flags, self));
         seen.insert(object->accSelect(LONG_MIN, Id(1)));
     }},
    {"put",
     [](IAccessible* object, std::set<HRESULT>& seen) {
         const std::wstring longest(10000, L'x');
         const BSTR texts[] = {nullptr, SysAllocString(L""), SysAllocString(longest.c_str())};
         for (const BSTR text : texts) {
             for (const VARIANT& child : {self, Id(1)}) {
                 seen.insert(object->put_accName(child, text));
                 seen.insert(object->put_accValue(child, text));
             }
             SysFreeString(text);
         }
     }},
};

// Object ids the window does not serve, asked through Active Accessibility and as raw messages; the client after them.
std::string OddObjectIds() {
    for (LONG id :
         {OBJID_WINDOW, OBJID_SYSMENU, OBJID_CARET, OBJID_ALERT, OBJID_NATIVEOM, -25L, 1L, 4242L, LONG_MIN, LONG_MAX}) {
        IAccessible* object = nullptr;
        if (SUCCEEDED(AccessibleObjectFromWindow(target, id, __uuidof(IAccessible), reinterpret_cast<void**>(&object))))
            object->Release();
        for (WPARAM flags : {WPARAM{0}, WPARAM{1}, ~WPARAM{0}}) {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(target, WM_GETOBJECT, flags, id, SMTO_ABORTIFHUNG, 5000, &result)) return "hung\n";
        }
    }
    IAccessible* client = nullptr;
    if (FAILED(
            AccessibleObjectFromWindow(target, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&client))))
        return "no client\n";
    const std::string name = Name(client);
    client->Release();
    return name + "\n";
}

std::string Seen(const std::set<HRESULT>& results) {
    std::string out;
    for (HRESULT result : results) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%lX", static_cast<unsigned long>(result));
        out += (out.empty() ? "" : " ") + std::string(hex);
    }
    return out + "\n";
}

std::string AbuseEveryObject(IAccessible* client, const std::string& group) {
    const auto abuse = abuses.find(group);
    if (abuse == abuses.end()) return group == "getobject" ? OddObjectIds() : "unknown group\n";
    std::vector<IAccessible*> objects = Objects(client);
    std::set<HRESULT> seen;
    for (IAccessible* object : objects) abuse->second(object, seen);
    Release(objects);
    return Seen(seen);
}

// Lets the events that come in go by unheard until they stop.
void Drain() {
    for (DWORD quiet = GetTickCount() + 300; GetTickCount() < quiet;) {
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT) != WAIT_OBJECT_0) continue;
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
        quiet = GetTickCount() + 300;
    }
}

// Quick reads round the cells, every 97th call a press that the window's thread plays while the reads go on. The
// presses' events go unheard: resolving each would ask its object for IAccessible (see below).
std::string Storm(IAccessible* client, int calls) {
    const std::function<HRESULT(IAccessible*)> reads[] = {
        [](IAccessible* cell) {
            BSTR name = nullptr;
            const HRESULT result = cell->get_accName(self, &name);
            SysFreeString(name);
            return result;
        },
        [](IAccessible* cell) {
            VARIANT out{};
            return Returned(cell->get_accState(self, &out), out);
        },
        [](IAccessible* cell) {
            LONG left, top, width, height;
            return cell->accLocation(&left, &top, &width, &height, self);
        },
        // Released without a query for IAccessible: Wine's COM keeps about 2 KB for good of each returned object a
        // client queries, whatever the object.
        [](IAccessible* cell) {
            VARIANT out{};
            const HRESULT result = cell->accNavigate(NAVDIR_RIGHT, self, &out);
            VariantClear(&out);
            return result;
        }};
    std::vector<IAccessible*> objects = Objects(client);
    int failed = 0;
    listening = false;
    for (int i = 0; i < calls; ++i) {
        IAccessible* cell = objects[2 + i % 9];  // after the client and the table
        failed += FAILED(i % 97 == 0 ? cell->accDoDefaultAction(self) : reads[i % 4](cell));
    }
    Release(objects);
    Drain();
    listening = true;
    return std::to_string(failed) + "\n";
}

std::vector<IAccessible*> held;

std::string Answer(IAccessible* client, const std::string& line) {
    std::istringstream in(line);
    std::string command, out;
    LONG x = 0, y = 0;
    in >> command >> x >> y;
    VARIANT found = self;
    IAccessible* at = nullptr;
    if (command == "walk") Walk(client, 0, out);
    if (command == "await") return Await(line.substr(6)) + "\n";
    if (command == "abuse") return AbuseEveryObject(client, line.substr(6));
    if (command == "storm") return Storm(client, static_cast<int>(x));
    if (command == "hold") {
        Release(held);
        held = Objects(client);
        return std::to_string(held.size()) + "\n";
    }
    if (command == "held") {
        std::set<HRESULT> seen;
        for (IAccessible* object : held) {
            BSTR name = nullptr;
            seen.insert(object->get_accName(self, &name));
            SysFreeString(name);
        }
        return Seen(seen);
    }
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
    Release(held);
    client->Release();
    CoUninitialize();
    return 0;
}
