// What a screen reader reads of the main window, over the system's proxy for it: the title
// as its name, the page shown as its value, the text of the hint box as its description, and
// the menu entries (drawn labels, so the proxy cannot see them) as its first children, ahead
// of the check boxes and APPLY that the proxy lists. Main Page, About and Contact read as
// page tabs, Exit as a push button; each has its access key and a default action.
#include "accessible_object.h"
#include "main_window.h"

namespace tv {

namespace {
constexpr long kEntryCount = static_cast<long>(std::size(kMenuEntries));
} // namespace

// Finds its window again on every call: a client may keep the object after the window ended.
class MainWindow::Accessible final : public AccessibleObject {
  public:
    using AccessibleObject::AccessibleObject;

    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        const HRESULT result = proxy_->get_accChildCount(count);
        if (SUCCEEDED(result) && count)
            *count += kEntryCount;
        return result;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (child.vt == VT_I4 && child.lVal > kEntryCount) {
            child.lVal -= kEntryCount; // the proxy's own children follow the entries
            return proxy_->get_accChild(child, out);
        }
        if (out)
            *out = nullptr;
        return Entry(child) ? S_FALSE : E_INVALIDARG; // an entry is a simple element
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (IsSelf(child))
            return proxy_->get_accName(child, name);
        const MenuEntry* entry = Entry(child);
        return entry ? Text(Window()->label(entry->label).text, name) : None(name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        const MainWindow* window = Window();
        if (!IsSelf(child) || !window)
            return None(value);
        for (const MenuEntry& entry : kMenuEntries) // the page shown is the coloured entry
            if (window->label(entry.label).color == kMenuSelected)
                return Text(window->label(entry.label).text, value);
        return Text(L"", value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        const MainWindow* window = Window();
        if (IsSelf(child) && window) {
            const Label& hint = window->label(LabelId::feature);
            return Text(hint.visible ? hint.text : window->label(LabelId::about_lbl).text,
                        description);
        }
        const MenuEntry* entry = Entry(child);
        return entry ? Text(entry->hint, description) : None(description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (IsSelf(child))
            return proxy_->get_accRole(child, role);
        const MenuEntry* entry = Entry(child);
        if (!entry)
            return E_INVALIDARG;
        return Number(IsExit(*entry) ? ROLE_SYSTEM_PUSHBUTTON : ROLE_SYSTEM_PAGETAB, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (IsSelf(child))
            return proxy_->get_accState(child, state);
        const MenuEntry* entry = Entry(child);
        if (!entry)
            return E_INVALIDARG;
        const MainWindow* window = Window();
        long bits = IsExit(*entry) ? 0 : STATE_SYSTEM_SELECTABLE;
        if (window->label(entry->label).color == kMenuSelected)
            bits |= STATE_SYSTEM_SELECTED;
        if (window->arrow(entry->arrow).lit)
            bits |= STATE_SYSTEM_HOTTRACKED;
        if (!IsWindowEnabled(window_))
            bits |= STATE_SYSTEM_UNAVAILABLE;
        return Number(bits, state);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        if (IsSelf(child))
            return proxy_->get_accKeyboardShortcut(child, shortcut);
        const MenuEntry* entry = Entry(child);
        return entry ? Text(L"Alt+" + std::wstring(1, entry->key), shortcut) : None(shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (IsSelf(child))
            return proxy_->get_accDefaultAction(child, action);
        const MenuEntry* entry = Entry(child);
        return entry ? Text(IsExit(*entry) ? L"Press" : L"Switch", action) : None(action);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (IsSelf(child))
            return proxy_->accDoDefaultAction(child);
        const MenuEntry* entry = Entry(child);
        if (!entry)
            return E_INVALIDARG;
        if (!IsWindowEnabled(window_))
            return E_FAIL;
        return PostMessageW(window_, kChooseEntryMessage, static_cast<WPARAM>(entry - kMenuEntries),
                            0)
                   ? S_OK
                   : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (IsSelf(child))
            return proxy_->accLocation(left, top, width, height, child);
        const MenuEntry* entry = Entry(child);
        if (!entry)
            return E_INVALIDARG;
        if (!left || !top || !width || !height)
            return E_POINTER;
        RECT r = Window()->label(entry->label).rect;
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
        *left = r.left, *top = r.top, *width = r.right - r.left, *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        const HRESULT result = proxy_->accHitTest(x, y, child);
        if (result != S_OK || !IsSelf(*child) || !Window())
            return result;
        POINT point{x, y};
        ScreenToClient(window_, &point);
        for (long id = 1; id <= kEntryCount; ++id)
            if (PtInRect(&Window()->label(kMenuEntries[id - 1].label).rect, point))
                child->lVal = id;
        return S_OK;
    }

  private:
    const MainWindow* Window() const {
        return IsWindow(window_)
                   ? reinterpret_cast<const MainWindow*>(GetWindowLongPtrW(window_, GWLP_USERDATA))
                   : nullptr;
    }
    // The entry a child id names (1 to 4), while the window lives.
    const MenuEntry* Entry(const VARIANT& child) const {
        if (child.vt != VT_I4 || child.lVal < 1 || child.lVal > kEntryCount || !Window())
            return nullptr;
        return &kMenuEntries[child.lVal - 1];
    }
    static bool IsExit(const MenuEntry& entry) { return entry.label == LabelId::menu4; }
};

LRESULT MainWindow::OnGetObject(WPARAM flags, LPARAM objectId) {
    return AccessibleObject::Answer(hwnd_, flags, objectId, [this](IAccessible* proxy) {
        return new Accessible(hwnd_, proxy);
    });
}

} // namespace tv
