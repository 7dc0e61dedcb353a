#include "platform/toolkit/win32/Notifications.h"

#include <uiautomationclient.h>
#include <uiautomationcore.h>

#include "platform/toolkit/win32/ComObject.h"
#include "platform/toolkit/win32/LookUp.h"

namespace toolkit::win32 {

namespace {

constexpr wchar_t ClassName[] = L"TessarinNotifications";
// NotificationKind_Other and NotificationProcessing_All (every sentence spoken in turn), which MinGW's headers lack.
constexpr int KindOther = 4;
constexpr int ProcessingAll = 2;
// From uiautomationcoreapi.h, which MinGW ships in a form C++ cannot compile.
constexpr LONG RootObjectId = -25;                                         // UiaRootObjectId
constexpr HRESULT ElementNotAvailable = static_cast<HRESULT>(0x80040201);  // UIA_E_ELEMENTNOTAVAILABLE

// UIAutomationCore's functions, looked up once, at the first announcement; null where the system lacks one.
struct UiaApi {
    HRESULT(WINAPI* RaiseNotificationEvent)(IRawElementProviderSimple*, int, int, BSTR, BSTR) = nullptr;
    BOOL(WINAPI* ClientsAreListening)() = nullptr;
    HRESULT(WINAPI* HostProviderFromHwnd)(HWND, IRawElementProviderSimple**) = nullptr;
    LRESULT(WINAPI* ReturnRawElementProvider)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*) = nullptr;
    HRESULT(WINAPI* DisconnectProvider)(IRawElementProviderSimple*) = nullptr;
};

const UiaApi& Uia() {
    static const UiaApi api = [] {
        constexpr wchar_t library[] = L"UIAutomationCore.dll";
        UiaApi found;
        found.RaiseNotificationEvent =
            LookUp<decltype(found.RaiseNotificationEvent)>(library, "UiaRaiseNotificationEvent");
        found.ClientsAreListening = LookUp<decltype(found.ClientsAreListening)>(library, "UiaClientsAreListening");
        found.HostProviderFromHwnd = LookUp<decltype(found.HostProviderFromHwnd)>(library, "UiaHostProviderFromHwnd");
        found.ReturnRawElementProvider =
            LookUp<decltype(found.ReturnRawElementProvider)>(library, "UiaReturnRawElementProvider");
        found.DisconnectProvider = LookUp<decltype(found.DisconnectProvider)>(library, "UiaDisconnectProvider");
        return found;
    }();
    return api;
}

bool RaiseThroughUia(IRawElementProviderSimple& provider, const std::wstring& sentence) {
    const UiaApi& uia = Uia();
    if (uia.RaiseNotificationEvent == nullptr || uia.ClientsAreListening == nullptr || !uia.ClientsAreListening())
        return false;
    const BSTR text = SysAllocStringLen(sentence.data(), static_cast<UINT>(sentence.size()));
    const BSTR activity = SysAllocString(L"Tessarin.Announcement");
    const HRESULT raised = uia.RaiseNotificationEvent(&provider, KindOther, ProcessingAll, text, activity);
    SysFreeString(text);
    SysFreeString(activity);
    return SUCCEEDED(raised);
}

NotificationRaiser& Raiser() {
    static NotificationRaiser raiser;
    return raiser;
}

// An element of its own, outside the content and control views, so that a screen reader walking the window never
// lands on it. Its window answers for it while it lives.
class NotificationProvider final : public ComObject<IRawElementProviderSimple> {
public:
    explicit NotificationProvider(HWND window) : window_(window) {}
    void Detach() { window_ = nullptr; }

    // Called on the window's thread, through COM, like the form's own objects.
    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override {
        if (options == nullptr) return E_POINTER;
        *options = static_cast<ProviderOptions>(ProviderOptions_ServerSideProvider | ProviderOptions_UseComThreading);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID, IUnknown** pattern) override {
        if (pattern == nullptr) return E_POINTER;
        *pattern = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override {
        if (value == nullptr) return E_POINTER;
        VariantInit(value);
        if (property == UIA_IsControlElementPropertyId || property == UIA_IsContentElementPropertyId) {
            value->vt = VT_BOOL;
            value->boolVal = VARIANT_FALSE;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override {
        if (host == nullptr) return E_POINTER;
        *host = nullptr;
        if (window_ == nullptr || Uia().HostProviderFromHwnd == nullptr) return ElementNotAvailable;
        return Uia().HostProviderFromHwnd(window_, host);
    }

private:
    HWND window_;
};

LRESULT CALLBACK NotificationWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* provider = reinterpret_cast<IRawElementProviderSimple*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const auto returnProvider = Uia().ReturnRawElementProvider;
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == RootObjectId && provider != nullptr &&
        returnProvider != nullptr)
        return returnProvider(hwnd, wParam, lParam, provider);
    if (message == WM_DESTROY && provider != nullptr) {
        // UI Automation lets go of what it kept for the window's events.
        if (returnProvider != nullptr) returnProvider(hwnd, 0, 0, nullptr);
        static_cast<NotificationProvider*>(provider)->Detach();
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        provider->Release();
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// One pixel in the owner's top-left corner, which the owner paints under it; UI Automation drops the notifications
// of a window without an area.
HWND CreateNotificationWindow(HWND owner) {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = NotificationWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = ClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered) return nullptr;
    return CreateWindowExW(WS_EX_TRANSPARENT | WS_EX_NOACTIVATE, ClassName, L"", WS_CHILD | WS_DISABLED | WS_VISIBLE, 0,
                           0, 1, 1, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

void SetNotificationRaiser(NotificationRaiser raiser) { Raiser() = std::move(raiser); }

Notifications::~Notifications() {
    if (provider_ == nullptr) return;
    static_cast<NotificationProvider*>(provider_)->Detach();
    if (Uia().DisconnectProvider != nullptr) Uia().DisconnectProvider(provider_);
    provider_->Release();
}

bool Notifications::Raise(HWND owner, const std::wstring& sentence) {
    // Without the event there is nothing to make the window for.
    if (!Raiser() && Uia().RaiseNotificationEvent == nullptr) return false;
    if (provider_ == nullptr) {
        const HWND window = CreateNotificationWindow(owner);
        if (window == nullptr) return false;
        provider_ = new NotificationProvider(window);
        // The window holds a reference of its own until it goes.
        provider_->AddRef();
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(provider_));
    }
    return Raiser() ? Raiser()(*provider_, sentence) : RaiseThroughUia(*provider_, sentence);
}

}  // namespace toolkit::win32
