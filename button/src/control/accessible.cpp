// What the control tells assistive technology: over the system's standard proxy for its
// window, what the proxy cannot know of an owner-drawn control: its role by Mode, its name
// from the caption, its states, its shortcut and its default action; and the win events that
// say when they changed.
#include "accessible_object.h"
#include "behaviour.h"
#include "control_record.h"
#include "text.h"

namespace butt {
namespace {

using tv::AccessibleObject;

// One object per WM_GETOBJECT; it finds its control again through the window on every call,
// since a client may keep it after the control has ended.
class Accessible final : public AccessibleObject {
  public:
    using AccessibleObject::AccessibleObject;

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
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override {
        if (value)
            *value = nullptr;
        return DISP_E_MEMBERNOTFOUND; // buttons have no value, as the system's own
    }

    // IAccessible: what only the control knows.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        const Butt::Impl* impl = Control(child);
        return impl ? Text(AccessibleName(impl->properties.caption), name) : None(name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        const Butt::Impl* impl = Control(child);
        return impl ? Text(tv::Widen(impl->host.Description()), description) : None(description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        const Butt::Impl* impl = Control(child);
        return impl ? Number(AccessibleRole(impl->properties.mode), role) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const Butt::Impl* impl = Control(child);
        return impl ? Number(impl->AccessibleState(), state) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        const Butt::Impl* impl = Control(child);
        if (!impl)
            return None(shortcut);
        const wchar_t key = impl->accessKey; // the key that works, kept from an earlier caption
        return Text(key ? L"Alt+" + std::wstring(1, UpperCase(key)) : L"", shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        const Butt::Impl* impl = Control(child);
        return impl ? Text(DefaultActionName(impl->properties.mode, impl->properties.value), action)
                    : None(action);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        const Butt::Impl* impl = Control(child);
        if (!impl)
            return E_INVALIDARG;
        if (!impl->properties.enabled || !IsWindowEnabled(window_))
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
    static wchar_t UpperCase(wchar_t key) {
        return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(
            CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(key)))));
    }
};

} // namespace

std::wstring AccessibleName(const std::string& caption) {
    const std::wstring text = tv::Widen(caption);
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

long AccessibleRole(Mode mode) {
    return mode == Mode::CheckBox ? ROLE_SYSTEM_CHECKBUTTON
           : mode == Mode::Option ? ROLE_SYSTEM_RADIOBUTTON
                                  : ROLE_SYSTEM_PUSHBUTTON;
}

std::wstring DefaultActionName(Mode mode, bool value) {
    if (mode == Mode::CheckBox)
        return value ? L"Uncheck" : L"Check";
    return mode == Mode::Option ? L"Select" : L"Press";
}

long Butt::Impl::AccessibleState() const {
    long state = 0;
    const bool visible = hWnd() && IsWindowVisible(hWnd());
    const bool available = properties.enabled && hWnd() && IsWindowEnabled(hWnd());
    if (!available)
        state |= STATE_SYSTEM_UNAVAILABLE;
    if (!visible)
        state |= STATE_SYSTEM_INVISIBLE;
    if (available && visible)
        state |= STATE_SYSTEM_FOCUSABLE;
    if (hWnd() && GetFocus() == hWnd())
        state |= STATE_SYSTEM_FOCUSED;
    if (canvas.look.StateFlags & kButtonHeld)
        state |= STATE_SYSTEM_PRESSED;
    if (properties.mode != Mode::Command && properties.value)
        state |= STATE_SYSTEM_CHECKED;
    if (canvas.look.IsHovering)
        state |= STATE_SYSTEM_HOTTRACKED;
    if (properties.mode == Mode::Command && host.DisplayAsDefault())
        state |= STATE_SYSTEM_DEFAULT;
    return state;
}

LRESULT Butt::Impl::OnGetObject(WPARAM flags, LPARAM objectId) {
    return AccessibleObject::Answer(hWnd(), flags, objectId, [this](IAccessible* proxy) {
        return new Accessible(hWnd(), proxy);
    });
}

void Butt::Impl::NotifyAccessibleChanges() {
    if (!hWnd() || terminated)
        return;
    const long state = AccessibleState();
    if (!accessibleKnown) {
        // The first look only takes the state as it is: nothing changed yet.
        accessibleKnown = true;
        accessibleState = state;
        accessibleName = properties.caption;
        return;
    }
    if (state != accessibleState) {
        accessibleState = state;
        NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hWnd(), OBJID_CLIENT, CHILDID_SELF);
    }
    if (properties.caption != accessibleName) {
        accessibleName = properties.caption;
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hWnd(), OBJID_CLIENT, CHILDID_SELF);
    }
}

void Butt::Impl::ShowKeyboardFocus(bool show) {
    // The focus that the keyboard gives is drawn with the style's focus mark, whatever
    // ShowFocusRect says of the default-button mark; a press of the mouse draws none.
    if (show == keyboardFocusMark || terminated || (show && (canvas.look.StateFlags & kShowsFocus)))
        return;
    keyboardFocusMark = show;
    if (show)
        canvas.look.StateFlags |= kShowsFocus;
    else
        canvas.look.StateFlags &= ~kShowsFocus;
    DrawButton();
}

void Butt::Impl::DoDefaultAction() {
    // Exactly a click's road: the same redraw and handling as an access key, events included.
    if (!properties.enabled || terminated)
        return;
    OnAccessKeyPress(0);
}

} // namespace butt
