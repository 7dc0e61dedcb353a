// The IUnknown of a COM object that implements one interface: its references, and QueryInterface for that interface
// and the ones it derives from (Implements). The object deletes itself with its last reference.
#pragma once

#include "platform/toolkit/win32/WindowsApi.h"

namespace toolkit::win32 {

template <typename Interface>
class ComObject : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (!Implements(id)) return E_NOINTERFACE;
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

protected:
    virtual ~ComObject() = default;
    virtual bool Implements(REFIID id) const { return id == __uuidof(IUnknown) || id == __uuidof(Interface); }

private:
    LONG references_ = 1;
};

}  // namespace toolkit::win32
