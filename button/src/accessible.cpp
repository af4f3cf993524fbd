// What the control tells assistive technology (screen readers, UI automation): an MSAA
// IAccessible for WM_GETOBJECT, and the win events that say when it changed. The system's
// standard proxy already answers location, navigation, hit tests and the parent right for any
// window; this object adds what the proxy cannot know of an owner-drawn control: its role by
// Mode, its name from the caption, its states, its shortcut and its default action.
//
// oleacc and oleaut32 are loaded on the first WM_GETOBJECT only, so programs that nobody
// reads with a screen reader never pay for them and import neither.
#include "behaviour.h"
#include "butt_impl.h"
#include "system_function.h"
#include "text.h"

#include <oleacc.h>

namespace butt {
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
        tv::SystemFunction<CreateStdAccessibleObjectFn>(L"oleacc.dll", "CreateStdAccessibleObject"),
        tv::SystemFunction<LresultFromObjectFn>(L"oleacc.dll", "LresultFromObject"),
        tv::SystemFunction<SysAllocStringFn>(L"oleaut32.dll", "SysAllocString")};
    return functions;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT Text(const std::wstring& text, BSTR* out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    *out = Functions().sysAllocString(text.c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
}

// One object per WM_GETOBJECT; it finds its control again through the window on every call,
// since a client may keep it after the control has ended.
class Accessible final : public IAccessible {
  public:
    Accessible(HWND window, IAccessible* proxy) : window_(window), proxy_(proxy) {}
    ~Accessible() { proxy_->Release(); }
    Accessible(const Accessible&) = delete;
    Accessible& operator=(const Accessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
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
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --references_;
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: clients of MSAA call the interface directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible: what the proxy does right.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return proxy_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
        if (child)
            *child = nullptr;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return proxy_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return proxy_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return proxy_->get_accFocus(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return proxy_->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return proxy_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return proxy_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return proxy_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return proxy_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override {
        if (value)
            *value = nullptr;
        return DISP_E_MEMBERNOTFOUND; // buttons have no value, as the system's own
    }

    // IAccessible: what only the control knows.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        const Butt::Impl* impl = Control(child);
        return impl ? Text(AccessibleName(impl->caption), name) : Gone(name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        const Butt::Impl* impl = Control(child);
        return impl ? Text(Widen(impl->host.Description()), description) : Gone(description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        const Butt::Impl* impl = Control(child);
        if (!role)
            return E_POINTER;
        if (!impl)
            return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = AccessibleRole(impl->mode);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const Butt::Impl* impl = Control(child);
        if (!state)
            return E_POINTER;
        if (!impl)
            return E_INVALIDARG;
        state->vt = VT_I4;
        state->lVal = impl->AccessibleState();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        const Butt::Impl* impl = Control(child);
        if (!impl)
            return Gone(shortcut);
        const wchar_t key = AccessKeyOf(impl->caption);
        return Text(key ? L"Alt+" + std::wstring(1, UpperCase(key)) : L"", shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        const Butt::Impl* impl = Control(child);
        return impl ? Text(DefaultActionName(impl->mode, impl->value), action) : Gone(action);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        const Butt::Impl* impl = Control(child);
        if (!impl)
            return E_INVALIDARG;
        if (!impl->enabled || !IsWindowEnabled(window_))
            return E_FAIL;
        // Posted, so that the client's call returns before any handler (a modal prompt) runs.
        return PostMessageW(window_, kDefaultActionMessage, 0, 0) ? S_OK : E_FAIL;
    }

  private:
    const Butt::Impl* Control(const VARIANT& child) const {
        if (!IsSelf(child) || !IsWindow(window_))
            return nullptr;
        const Butt* control = Butt::FromWindow(window_);
        return control ? &control->impl() : nullptr;
    }
    static HRESULT Gone(BSTR* out) {
        if (out)
            *out = nullptr;
        return E_INVALIDARG;
    }
    static wchar_t UpperCase(wchar_t key) {
        return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(
            CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(key)))));
    }

    HWND window_;
    IAccessible* proxy_;
    long references_ = 1;
};

} // namespace

std::wstring AccessibleName(const std::string& caption) {
    const std::wstring text = Widen(caption);
    std::wstring name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) {
            name += text[++i]; // "&x" is x, "&&" one ampersand
        } else if (text[i] == L'|' && i + 1 < text.size() && text[i + 1] == L'|') {
            name += L' '; // a forced line break reads as a space
            ++i;
        } else if (text[i] != L'&') {
            name += text[i];
        }
    }
    return name;
}

long AccessibleRole(long mode) {
    return mode == 1   ? ROLE_SYSTEM_CHECKBUTTON
           : mode == 2 ? ROLE_SYSTEM_RADIOBUTTON
                       : ROLE_SYSTEM_PUSHBUTTON;
}

std::wstring DefaultActionName(long mode, bool value) {
    if (mode == 1)
        return value ? L"Uncheck" : L"Check";
    return mode == 2 ? L"Select" : L"Press";
}

long Butt::Impl::AccessibleState() const {
    long state = 0;
    const bool visible = hwnd && IsWindowVisible(hwnd);
    const bool available = enabled && hwnd && IsWindowEnabled(hwnd);
    if (!available)
        state |= STATE_SYSTEM_UNAVAILABLE;
    if (!visible)
        state |= STATE_SYSTEM_INVISIBLE;
    if (available && visible)
        state |= STATE_SYSTEM_FOCUSABLE;
    if (hwnd && GetFocus() == hwnd)
        state |= STATE_SYSTEM_FOCUSED;
    if (StateFlags & kButtonHeld)
        state |= STATE_SYSTEM_PRESSED;
    if (mode != 0 && value)
        state |= STATE_SYSTEM_CHECKED;
    if (IsHovering)
        state |= STATE_SYSTEM_HOTTRACKED;
    if (mode == 0 && host.DisplayAsDefault())
        state |= STATE_SYSTEM_DEFAULT;
    return state;
}

LRESULT Butt::Impl::OnGetObject(WPARAM flags, LPARAM objectId) {
    if (static_cast<DWORD>(objectId) != static_cast<DWORD>(OBJID_CLIENT) || !hwnd)
        return DefWindowProcW(hwnd, WM_GETOBJECT, flags, objectId);
    const Oleacc& functions = Functions();
    IAccessible* proxy = nullptr;
    if (!functions.usable() ||
        FAILED(functions.createStd(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&proxy))) ||
        !proxy)
        return DefWindowProcW(hwnd, WM_GETOBJECT, flags, objectId);
    auto* accessible = new Accessible(hwnd, proxy);
    const LRESULT result = functions.lresultFromObject(__uuidof(IAccessible), flags, accessible);
    accessible->Release();
    return result;
}

void Butt::Impl::NotifyAccessibleChanges() {
    if (!hwnd || terminated)
        return;
    const long state = AccessibleState();
    if (!accessibleKnown) {
        // The first look only takes the state as it is: nothing changed yet.
        accessibleKnown = true;
        accessibleState = state;
        accessibleName = caption;
        return;
    }
    if (state != accessibleState) {
        accessibleState = state;
        NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
    }
    if (caption != accessibleName) {
        accessibleName = caption;
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
    }
}

void Butt::Impl::ShowKeyboardFocus(bool show) {
    // The focus that the keyboard gives is drawn with the style's focus mark, whatever
    // ShowFocusRect says of the default-button mark; a press of the mouse draws none.
    if (show == keyboardFocusMark || terminated || (show && (StateFlags & kShowsFocus)))
        return;
    keyboardFocusMark = show;
    if (show)
        StateFlags |= kShowsFocus;
    else
        StateFlags &= ~kShowsFocus;
    DrawButton();
}

void Butt::Impl::DoDefaultAction() {
    // Exactly a click's road: the same redraw and handling as an access key, events included.
    if (!enabled || terminated)
        return;
    OnAccessKeyPress(0);
}

} // namespace butt
