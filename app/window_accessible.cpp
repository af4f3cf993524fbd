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
        if (!Entry(child))
            return proxy_->get_accChild(ForProxy(child), out);
        if (out)
            *out = nullptr;
        return S_FALSE; // an entry is a simple element
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        const MenuEntry* entry = Entry(child);
        if (!entry)
            return proxy_->get_accName(ForProxy(child), name);
        return Text(Window()->label(entry->label).text, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        const MainWindow* window = Window();
        if (!IsSelf(child) || !window)
            return Entry(child) ? None(value) : proxy_->get_accValue(ForProxy(child), value);
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
        return entry ? Text(entry->hint, description)
                     : proxy_->get_accDescription(ForProxy(child), description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        const MenuEntry* entry = Entry(child);
        if (!entry)
            return proxy_->get_accRole(ForProxy(child), role);
        return Number(IsExit(*entry) ? ROLE_SYSTEM_PUSHBUTTON : ROLE_SYSTEM_PAGETAB, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const MenuEntry* entry = Entry(child);
        if (!entry)
            return proxy_->get_accState(ForProxy(child), state);
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
        const MenuEntry* entry = Entry(child);
        if (!entry)
            return proxy_->get_accKeyboardShortcut(ForProxy(child), shortcut);
        return Text(L"Alt+" + std::wstring(1, entry->key), shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        const MenuEntry* entry = Entry(child);
        if (!entry)
            return proxy_->get_accDefaultAction(ForProxy(child), action);
        return Text(IsExit(*entry) ? L"Press" : L"Switch", action);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        const MenuEntry* entry = Entry(child);
        if (!entry)
            return proxy_->accDoDefaultAction(ForProxy(child));
        if (!IsWindowEnabled(window_))
            return E_FAIL;
        return PostMessageW(window_, kChooseEntryMessage, static_cast<WPARAM>(entry - kMenuEntries),
                            0)
                   ? S_OK
                   : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        const MenuEntry* entry = Entry(child);
        if (!entry)
            return proxy_->accLocation(left, top, width, height, ForProxy(child));
        if (!left || !top || !width || !height)
            return E_POINTER;
        RECT r = Window()->label(entry->label).rect;
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
        *left = r.left, *top = r.top, *width = r.right - r.left, *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return Entry(child) ? Text(L"", help) : proxy_->get_accHelp(ForProxy(child), help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return Entry(child) ? Text(L"", file)
                            : proxy_->get_accHelpTopic(file, ForProxy(child), topic);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return Entry(child) ? DISP_E_MEMBERNOTFOUND : proxy_->accSelect(flags, ForProxy(child));
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!Entry(start))
            return FromProxy(proxy_->accNavigate(direction, ForProxy(start), end), end);
        if (end)
            end->vt = VT_EMPTY;
        return S_FALSE; // the entries are read as the children of the window
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return FromProxy(proxy_->get_accFocus(focus), focus);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        const HRESULT result = FromProxy(proxy_->accHitTest(x, y, child), child);
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
        return IsWindow(window_) ? static_cast<const MainWindow*>(ObjectOf(window_)) : nullptr;
    }
    // The proxy's own number for a child: its children follow the entries.
    static VARIANT ForProxy(VARIANT child) {
        if (child.vt == VT_I4 && child.lVal > kEntryCount)
            child.lVal -= kEntryCount;
        return child;
    }
    // A child that the proxy answered with, in the window's numbering.
    static HRESULT FromProxy(HRESULT result, VARIANT* child) {
        if (SUCCEEDED(result) && child && child->vt == VT_I4 && child->lVal > CHILDID_SELF)
            child->lVal += kEntryCount;
        return result;
    }
    // The entry a child id names (1 to 4), while the window lives.
    const MenuEntry* Entry(const VARIANT& child) const {
        if (child.vt != VT_I4 || child.lVal < 1 || child.lVal > kEntryCount || !Window())
            return nullptr;
        return &kMenuEntries[child.lVal - 1];
    }
    static bool IsExit(const MenuEntry& entry) { return entry.label == LabelId::menu4; }
};

AccessibleObject* MainWindow::AccessibleOver(IAccessible* proxy) {
    return new Accessible(hWnd(), proxy);
}

LRESULT MainWindow::OnGetObject(WPARAM flags, LPARAM objectId) {
    return AccessibleObject::Answer(hWnd(), flags, objectId,
                                    [this](IAccessible* proxy) { return AccessibleOver(proxy); });
}

} // namespace tv
