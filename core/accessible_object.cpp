#include "accessible_object.h"

#include "system_function.h"

namespace tv {
namespace {

using CreateStdAccessibleObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using SysAllocStringFn = BSTR(WINAPI*)(const OLECHAR*);

struct Oleacc {
    CreateStdAccessibleObjectFn createStd = nullptr;
    LresultFromObjectFn lresultFromObject = nullptr;
    SysAllocStringFn sysAllocString = nullptr;
    bool usable() const { return createStd && lresultFromObject && sysAllocString; }
};

const Oleacc& Functions() {
    static const Oleacc functions{
        SystemFunction<CreateStdAccessibleObjectFn>(L"oleacc.dll", "CreateStdAccessibleObject"),
        SystemFunction<LresultFromObjectFn>(L"oleacc.dll", "LresultFromObject"),
        SystemFunction<SysAllocStringFn>(L"oleaut32.dll", "SysAllocString")};
    return functions;
}

} // namespace

LRESULT AccessibleObject::Answer(HWND window, WPARAM flags, LPARAM objectId,
                                 const std::function<AccessibleObject*(IAccessible*)>& make) {
    if (static_cast<DWORD>(objectId) != static_cast<DWORD>(OBJID_CLIENT) || !window)
        return DefWindowProcW(window, WM_GETOBJECT, flags, objectId);
    const Oleacc& functions = Functions();
    IAccessible* proxy = nullptr;
    if (!functions.usable() ||
        FAILED(functions.createStd(window, OBJID_CLIENT, __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&proxy))) ||
        !proxy)
        return DefWindowProcW(window, WM_GETOBJECT, flags, objectId);
    AccessibleObject* object = make(proxy); // owns the proxy from here
    const LRESULT result = functions.lresultFromObject(__uuidof(IAccessible), flags, object);
    object->Release();
    return result;
}

HRESULT AccessibleObject::Text(const std::wstring& text, BSTR* out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    *out = Functions().sysAllocString(text.c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT AccessibleObject::Number(long value, VARIANT* out) {
    if (!out)
        return E_POINTER;
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
}

HRESULT AccessibleObject::None(BSTR* out) {
    if (out)
        *out = nullptr;
    return E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
        IsEqualIID(iid, __uuidof(IAccessible))) {
        *out = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE AccessibleObject::Release() {
    const long left = --references_;
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE AccessibleObject::GetTypeInfoCount(UINT* count) {
    if (count)
        *count = 0;
    return S_OK;
}

} // namespace tv
