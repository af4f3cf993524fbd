// The public face of the control: creating and loading it, saving it, its events, and each
// property handed to the record.
#include "behaviour.h"
#include "control_record.h"
#include "property_bag.h"
#include "text.h"

#include <algorithm>

namespace butt {
namespace {

// One character in upper case by the system's rules, so that "&ä" takes Alt+Ä and "&п" Alt+П.
wchar_t UpperCase(wchar_t c) {
    wchar_t text[2] = {c, 0};
    CharUpperBuffW(text, 1);
    return text[0];
}

bool IsButtWindow(HWND window) {
    wchar_t name[16] = {};
    return window && GetClassNameW(window, name, 16) > 0 &&
           std::wstring(name) == Butt::WindowClassName();
}

} // namespace

int ButtHost::ShowMessage(const std::string& text, const std::string& title, UINT type) {
    return MessageBoxW(nullptr, tv::Widen(text).c_str(), tv::Widen(title).c_str(), type);
}

Butt::Butt(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Butt::~Butt() {
    // Deleted by a handler of its own event: the record ends now, but its memory stays until
    // the control's code on the stack below has returned.
    if (impl_ && impl_->entered > 0) {
        impl_->orphaned = true;
        impl_->Retire();
        impl_.release();
    }
}

std::unique_ptr<Butt> Butt::Create(HWND parent, int id, RECT bounds, ButtHost& host) {
    std::unique_ptr<Butt> butt(new Butt(nullptr));
    butt->impl_ = std::make_unique<Impl>(*butt, host);
    Impl& impl = *butt->impl_;
    impl.canvas.delayDrawing = true; // nothing is drawn before the properties are in
    if (!impl.CreateControlWindow(parent, id, bounds))
        return nullptr;
    impl.InitProperties();
    impl.ClearDelay();
    impl.OnResize();
    ShowWindow(impl.hWnd(), SW_SHOWNA);
    return butt;
}

std::unique_ptr<Butt> Butt::Load(HWND parent, int id, RECT bounds, ButtHost& host,
                                 const PropertyBag& bag, std::string* error) {
    std::vector<BagProblem> problems;
    auto butt = Load(parent, id, bounds, host, bag, problems);
    if (error) {
        error->clear();
        for (const BagProblem& problem : problems)
            *error += (error->empty() ? "" : "; ") + problem.Text();
    }
    return butt;
}

std::unique_ptr<Butt> Butt::Load(HWND parent, int id, RECT bounds, ButtHost& host,
                                 const PropertyBag& bag, std::vector<BagProblem>& problems) {
    // What the control cannot take stays at its default; the rest is loaded. The caller's
    // list keeps what it holds (the reader's problems), and gets each new problem once.
    PropertyBag stored;
    for (BagProblem& problem : CheckStoredBag(bag, stored))
        if (std::find(problems.begin(), problems.end(), problem) == problems.end())
            problems.push_back(std::move(problem));

    if (const auto* width = stored.Find(RowOf(Prop::ExtentX).key))
        bounds.right = bounds.left + ExtentToPixels(std::get<std::int32_t>(*width));
    if (const auto* height = stored.Find(RowOf(Prop::ExtentY).key))
        bounds.bottom = bounds.top + ExtentToPixels(std::get<std::int32_t>(*height));

    std::unique_ptr<Butt> butt(new Butt(nullptr));
    butt->impl_ = std::make_unique<Impl>(*butt, host);
    Impl& impl = *butt->impl_;
    impl.canvas.delayDrawing = true;
    if (!impl.CreateControlWindow(parent, id, bounds))
        return nullptr;
    impl.ReadProperties(stored);
    ShowWindow(impl.hWnd(), SW_SHOWNA);
    return butt;
}

void Butt::Save(PropertyBag& bag) const {
    bag.Set(RowOf(Prop::ExtentX).key, PixelsToExtent(static_cast<int>(impl_->canvas.ScaleWidth())));
    bag.Set(RowOf(Prop::ExtentY).key,
            PixelsToExtent(static_cast<int>(impl_->canvas.ScaleHeight())));
    impl_->WriteProperties(bag);
}

ButtEvents& Butt::Events() {
    return impl_->events;
}

const wchar_t* Butt::WindowClassName() {
    return L"Butt";
}

Butt* Butt::FromWindow(HWND window) {
    if (!IsButtWindow(window))
        return nullptr;
    Impl* impl = Impl::FromWindowHandle(window);
    return impl ? &impl->owner : nullptr;
}

bool Butt::RouteAccessKey(HWND container, int key) {
    if (!container)
        return false;
    const wchar_t wanted = UpperCase(static_cast<wchar_t>(key));
    for (HWND child = GetWindow(container, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        Butt* butt = FromWindow(child);
        if (!butt || !IsWindowVisible(child) || !IsWindowEnabled(child))
            continue;
        Impl& impl = *butt->impl_;
        bool owns = false;
        // Enter and Escape click only command buttons; a check or option button leaves them
        // to the rest of the container.
        if (key == VK_RETURN)
            owns = impl.properties.mode == Impl::Mode::Command && impl.host.DisplayAsDefault();
        else if (key == VK_ESCAPE)
            owns = impl.properties.mode == Impl::Mode::Command && impl.host.IsCancelButton();
        else
            owns = impl.accessKey != 0 && UpperCase(impl.accessKey) == wanted;
        if (owns) {
            const Impl::Entry entry(impl); // its handlers may end it
            impl.OnAccessKeyPress(key);
            return true;
        }
    }
    return false;
}

long Butt::ButtonStyle() const {
    return static_cast<long>(impl_->properties.buttonStyle);
}
void Butt::SetButtonStyle(long value) {
    const Impl::Entry entry(*impl_);
    impl_->SetButtonStyle(value);
}
long Butt::Mode() const {
    return static_cast<long>(impl_->properties.mode);
}
void Butt::SetMode(long value) {
    const Impl::Entry entry(*impl_);
    impl_->SetMode(value);
}
std::string Butt::Caption() const {
    return impl_->properties.caption;
}
void Butt::SetCaption(const std::string& value) {
    const Impl::Entry entry(*impl_);
    impl_->SetCaption(value);
}
long Butt::CaptionAlign() const {
    return impl_->properties.captionAlign;
}
void Butt::SetCaptionAlign(long value) {
    const Impl::Entry entry(*impl_);
    impl_->SetCaptionAlign(value);
}
long Butt::CaptionStyle() const {
    return impl_->properties.captionStyle;
}
void Butt::SetCaptionStyle(long value) {
    const Impl::Entry entry(*impl_);
    impl_->SetCaptionStyle(value);
}
long Butt::CustomClick() const {
    return impl_->properties.customClick;
}
void Butt::SetCustomClick(long value) {
    const Impl::Entry entry(*impl_);
    impl_->SetCustomClick(value);
}
long Butt::ButtonShape() const {
    return static_cast<long>(impl_->properties.buttonShape);
}
void Butt::SetButtonShape(long value) {
    const Impl::Entry entry(*impl_);
    impl_->SetButtonShape(value);
}
PicturePtr Butt::Picture() const {
    return impl_->properties.picture;
}
void Butt::SetPicture(PicturePtr value) {
    const Impl::Entry entry(*impl_);
    impl_->SetPicture(std::move(value));
}
long Butt::PictureAlign() const {
    return impl_->properties.pictureAlign;
}
void Butt::SetPictureAlign(long value) {
    const Impl::Entry entry(*impl_);
    impl_->SetPictureAlign(value);
}
bool Butt::Enabled() const {
    return impl_->properties.enabled;
}
void Butt::SetEnabled(bool value) {
    const Impl::Entry entry(*impl_);
    impl_->SetEnabled(value);
}
bool Butt::ShowFocusRect() const {
    return impl_->properties.showFocusRect;
}
void Butt::SetShowFocusRect(bool value) {
    const Impl::Entry entry(*impl_);
    impl_->SetShowFocusRect(value);
}
bool Butt::Value() const {
    return impl_->properties.value;
}
void Butt::SetValue(bool value) {
    const Impl::Entry entry(*impl_);
    impl_->SetValue(value);
}
long Butt::PictureSize() const {
    return impl_->PictureSize();
}
void Butt::SetPictureSize(long value) {
    const Impl::Entry entry(*impl_);
    impl_->SetPictureSize(value);
}
long Butt::MousePointer() const {
    return impl_->properties.mousePointer;
}
void Butt::SetMousePointer(long value) {
    const Impl::Entry entry(*impl_);
    impl_->SetMousePointer(value);
}
PicturePtr Butt::MouseIcon() const {
    return impl_->properties.mouseIcon;
}
void Butt::SetMouseIcon(PicturePtr value) {
    const Impl::Entry entry(*impl_);
    impl_->SetMouseIcon(std::move(value));
}
FontDesc Butt::Font() const {
    return impl_->properties.font;
}
void Butt::SetFont(const FontDesc& value) {
    const Impl::Entry entry(*impl_);
    impl_->SetFont(value);
}
long Butt::FontStyle() const {
    return impl_->FontStyle();
}
void Butt::SetFontStyle(long value) {
    const Impl::Entry entry(*impl_);
    impl_->SetFontStyle(value);
}
Color Butt::ForeColor() const {
    return impl_->properties.foreColor;
}
void Butt::SetForeColor(Color value) {
    const Impl::Entry entry(*impl_);
    impl_->SetForeColor(value);
}
Color Butt::BackColor() const {
    return impl_->properties.backColor;
}
void Butt::SetBackColor(Color value) {
    const Impl::Entry entry(*impl_);
    impl_->SetBackColor(value);
}
Color Butt::GradientColor() const {
    return impl_->properties.gradientColor;
}
void Butt::SetGradientColor(Color value) {
    const Impl::Entry entry(*impl_);
    impl_->SetGradientColor(value);
}
long Butt::GradientMode() const {
    return impl_->properties.gradientMode;
}
void Butt::SetGradientMode(long value) {
    const Impl::Entry entry(*impl_);
    impl_->SetGradientMode(value);
}
bool Butt::ResetDefaultColors() const {
    return false;
}
void Butt::SetResetDefaultColors(bool value) {
    const Impl::Entry entry(*impl_);
    impl_->SetResetDefaultColors(value);
}
long Butt::HoverColorLocks() const {
    return impl_->properties.hoverColorLocks;
}
void Butt::SetHoverColorLocks(long value) {
    const Impl::Entry entry(*impl_);
    impl_->SetHoverColorLocks(value);
}
Color Butt::HoverForeColor() const {
    return impl_->properties.hoverForeColor;
}
void Butt::SetHoverForeColor(Color value) {
    const Impl::Entry entry(*impl_);
    impl_->SetHoverForeColor(value);
}
Color Butt::HoverBackColor() const {
    return impl_->properties.hoverBackColor;
}
void Butt::SetHoverBackColor(Color value) {
    const Impl::Entry entry(*impl_);
    impl_->SetHoverBackColor(value);
}
// The class keeps one DC per window (CS_OWNDC): it lasts as long as the window.
HDC Butt::hdc() const {
    return impl_->hWnd() ? GetDC(impl_->hWnd()) : nullptr;
}
HWND Butt::hWnd() const {
    return impl_->hWnd();
}
void Butt::Refresh() {
    const Impl::Entry entry(*impl_);
    impl_->Refresh();
}
void Butt::DelayDrawing(bool bDelay) {
    const Impl::Entry entry(*impl_);
    impl_->DelayDrawing(bDelay);
}
wchar_t Butt::AccessKey() const {
    return impl_->accessKey;
}
void Butt::AmbientChanged(const std::string& name) {
    const Impl::Entry entry(*impl_);
    impl_->OnAmbientChanged(name);
}

std::string Butt::HelpText(const std::string& property) {
    const PropertyRow* row = RowNamed(property);
    return row ? row->help : "";
}

} // namespace butt
