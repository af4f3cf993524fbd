#pragma once
// Butt: a skinnable owner-drawn button control for any Win32 C++ program. Eight drawing
// styles, nine outlines, pictures, gradients, hover tracking, check-box and option-button
// modes and persisted properties.
//
// The containing window implements ButtHost (ambient values, property-changed notices,
// message boxes) and subscribes to ButtEvents. A control is either created new
// (Butt::Create) or loaded from stored properties (Butt::Load), and saved with Save.
//
// Threads: controls may be made on more than one UI thread (the library's own records are
// shared under a lock), but each control, like its window, is used only from the thread that
// made it, and its option group lives on its container's thread.
//
// Texts (captions, font names, picture paths) are UTF-8.
//
// Accessibility: the control answers WM_GETOBJECT with an MSAA IAccessible (oleacc, loaded
// on the first request): role push button, check box or option button by Mode; name the
// caption without its "&"; shortcut "Alt+<key>"; states focused, focusable, pressed while
// held, checked, unavailable, hot-tracked, default; default action "Press", "Check"/
// "Uncheck" or "Select", and accDoDefaultAction clicks it (events included), posted. State,
// name and focus changes raise EVENT_OBJECT_STATECHANGE, _NAMECHANGE and _FOCUS. The control
// is a tab stop; when the keyboard gives it the focus it draws its style's focus mark. A host
// moves the focus with IsDialogMessage or its own Tab handling.
#include "butt_stored.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

namespace butt {

// A picture the control shows or takes its outline from: a bitmap, an icon or a cursor.
// Shared by reference, like the picture objects of form hosts. Knows where it came from, so
// that it can be stored.
class Picture {
  public:
    using Kind = PictureKind;

    // Takes ownership of the handle.
    static std::shared_ptr<Picture> FromBitmap(HBITMAP bitmap, std::string source = {});
    static std::shared_ptr<Picture> FromIcon(HICON icon, Kind kind, std::string source = {});
    // By the file's extension: .bmp, .ico and .cur, and JPEG (.jpg, .jpeg) and PNG (.png)
    // through those two decoders of WIC into a 32-bit DIB. Files of at most 16 MiB, pictures
    // of at most 4096 x 4096 pixels. nullptr with `error` set when the file cannot be read as
    // a picture. `storedPath` (UTF-8) is how the picture is stored, when not as `path` (a
    // path relative to a folder).
    static std::shared_ptr<Picture> LoadFile(const std::wstring& path, std::string& error,
                                             std::string storedPath = {});
    // A bitmap (RT_BITMAP), icon (RT_GROUP_ICON) or cursor resource of `module`: "#n" is
    // number n (1 to 65535), any other name a named resource.
    static std::shared_ptr<Picture> LoadResource(HMODULE module, const std::string& name, Kind kind,
                                                 std::string& error);

    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    Kind kind() const { return kind_; }
    HANDLE handle() const { return handle_; }
    // How the picture is stored: "file:<path>" or "res:bitmap|icon|cursor:<name>".
    const std::string& source() const { return source_; }

  private:
    Picture(Kind kind, HANDLE handle, std::string source)
        : kind_(kind), handle_(handle), source_(std::move(source)) {}
    Kind kind_;
    HANDLE handle_;
    std::string source_;
};
using PicturePtr = std::shared_ptr<Picture>;

// Where the pictures that a stored text names may come from.
struct BagSources {
    // Resource pictures: from this module (the program's own when null).
    HMODULE resourceModule = nullptr;
    // Picture files: only this folder and below, by a path relative to it or a full local
    // path under it. Empty: no file is opened, and every file picture is a problem. Network
    // paths, device names and paths that leave the folder are never opened; a file whose
    // real place, once open, is not on a local drive under the folder's (a link on the way,
    // or the file itself a link) is never read.
    std::wstring pictureFolder;
};

struct BagRead;

// Stored properties: keys compared without regard to case, values of a few kinds. Its text
// form is human-readable (see bag_grammar.h in the library's sources for the grammar).
class PropertyBag {
  public:
    // A picture is loaded (PicturePtr) for the keys that take one; any other key keeps the
    // picture its text names unloaded (PictureRef).
    using Value =
        std::variant<std::string, std::int32_t, float, bool, FontDesc, PicturePtr, PictureRef>;

    // Reads the text form: every property that is valid, with a problem for each one that
    // is not (left at its default) and for each unknown key, each with its line. Of a key
    // that stands more than once the first value the control can take is read. Only a text
    // that is not a property bag at all (a line that is not `key = value`, a NUL byte) gives
    // no bag.
    static BagRead Read(const std::string& text, const BagSources& sources = {});
    // All or nothing: nullopt with `error` naming the line and the key of the first problem
    // (unknown keys excepted, which are kept). Opens no picture file.
    static std::optional<PropertyBag> Parse(const std::string& text, std::string& error,
                                            HMODULE resourceModule = nullptr);
    // The text form, which Read takes back as the same keys and values. A key that has no
    // text form (not letters, digits and _) or a picture made from a bare handle is written
    // as a comment instead, and listed in `unwritten` when given.
    std::string ToText(std::vector<BagProblem>* unwritten = nullptr) const;

    bool Has(const std::string& key) const;
    const Value* Find(const std::string& key) const;
    // `line`: the line of a text that the value was read from (0: set in code).
    void Set(const std::string& key, Value value, int line = 0);
    void Remove(const std::string& key);
    // Keys in the order they were first set (lower case).
    std::vector<std::string> Keys() const;
    // The line of the text that the key's value was read from; 0 for a value set in code.
    int LineOf(const std::string& key) const;

  private:
    struct Entry {
        std::string key;
        Value value;
        int line = 0;
    };
    std::vector<Entry> entries_;
    // Key to its place in entries_, so that a bag of many keys loads in linear time.
    std::unordered_map<std::string, std::size_t> index_;
};

struct BagRead {
    std::optional<PropertyBag> bag;   // nullopt: the text is not a property bag
    std::string error;                // why not, naming the line
    std::vector<BagProblem> problems; // the properties not taken, and unknown keys
};

// What the containing window provides.
class ButtHost {
  public:
    virtual ~ButtHost() = default;
    // False while a form is being designed: the only time design messages are shown.
    virtual bool UserMode() const { return true; }
    virtual bool DisplayAsDefault() const { return false; }
    // The form's cancel button: Escape clicks it (through Butt::RouteAccessKey).
    virtual bool IsCancelButton() const { return false; }
    virtual Color AmbientBackColor() const { return kButtonFace; }
    // The control's name on its form (the caption of a new control).
    virtual std::string DisplayName() const { return "Butt1"; }
    virtual std::string ApplicationTitle() const { return "Butt"; }
    // A property changed (marks stored form data as modified). `key` is the bag key.
    virtual void PropertyChanged(const std::string& key) { (void)key; }
    // A modal message box; returns the button chosen.
    virtual int ShowMessage(const std::string& text, const std::string& title, UINT type);
    // What a screen reader reads after the name (UTF-8; "" for none), such as the hint that
    // the form shows for the control.
    virtual std::string Description() const { return {}; }
    // The refusal of an object given to MouseIcon reaches the host as an error message.
};

// The control's events. Arguments are passed by reference, so handlers may change them.
struct ButtEvents {
    std::function<void(short& Button, short& Shift, float& X, float& Y)> MouseDown;
    std::function<void(short& Button, short& Shift, float& X, float& Y)> MouseUp;
    std::function<void(short& Button, short& Shift, float& X, float& Y)> MouseMove;
    std::function<void(short& KeyCode, short& Shift)> KeyDown;
    std::function<void(short& KeyAscii)> KeyPress;
    std::function<void(short& KeyCode, short& Shift)> KeyUp;
    std::function<void(bool& OnButton)> MouseOnButton;
    std::function<void()> Click;
    std::function<void(short& Button)> DoubleClick;
};

class Butt {
  public:
    class Impl;

    // A new control placed on `parent` (the host's initialisation of a new control).
    static std::unique_ptr<Butt> Create(HWND parent, int id, RECT bounds, ButtHost& host);
    // A control loaded from stored properties. The bag's "_extentx"/"_extenty" (0.01 mm)
    // give the size when present; `bounds` gives the position (and the size otherwise).
    // Every value the control can take is loaded; each one it cannot take (wrong kind, out
    // of range, not fitting the others) leaves its property at the default and is added to
    // `problems` with its line, as is each key the control does not read. What `problems`
    // holds already (the problems of PropertyBag::Read) stays, and is not listed twice.
    static std::unique_ptr<Butt> Load(HWND parent, int id, RECT bounds, ButtHost& host,
                                      const PropertyBag& bag, std::vector<BagProblem>& problems);
    // The same, with the problems as one text ("" when there are none).
    static std::unique_ptr<Butt> Load(HWND parent, int id, RECT bounds, ButtHost& host,
                                      const PropertyBag& bag, std::string* error = nullptr);
    ~Butt(); // ends the control and destroys its window
    Butt(const Butt&) = delete;
    Butt& operator=(const Butt&) = delete;

    void Save(PropertyBag& bag) const;
    ButtEvents& Events();

    // The window class of every control ("Butt"), registered on first use.
    static const wchar_t* WindowClassName();
    // The control behind a window of that class, or nullptr.
    static Butt* FromWindow(HWND window);
    // For containers: hands an access key (the character of Alt+key as WM_SYSCHAR gives it,
    // or VK_RETURN/VK_ESCAPE for default and cancel buttons) to the control of `container`
    // that owns it. True when one took it.
    static bool RouteAccessKey(HWND container, int key);

    // Properties, in the control's interface order.
    long ButtonStyle() const;
    void SetButtonStyle(long value);
    long Mode() const;
    void SetMode(long value);
    std::string Caption() const; // UTF-8
    void SetCaption(const std::string& value);
    long CaptionAlign() const;
    void SetCaptionAlign(long value);
    long CaptionStyle() const;
    void SetCaptionStyle(long value);
    long CustomClick() const;
    void SetCustomClick(long value);
    long ButtonShape() const;
    void SetButtonShape(long value);
    PicturePtr Picture() const;
    void SetPicture(PicturePtr value);
    long PictureAlign() const;
    void SetPictureAlign(long value);
    bool Enabled() const;
    void SetEnabled(bool value);
    bool ShowFocusRect() const;
    void SetShowFocusRect(bool value);
    bool Value() const;
    void SetValue(bool value);
    long PictureSize() const;
    void SetPictureSize(long value);
    long MousePointer() const;
    void SetMousePointer(long value);
    PicturePtr MouseIcon() const;
    void SetMouseIcon(PicturePtr value);
    FontDesc Font() const;
    void SetFont(const FontDesc& value);
    long FontStyle() const;
    void SetFontStyle(long value);
    Color ForeColor() const;
    void SetForeColor(Color value);
    Color BackColor() const;
    void SetBackColor(Color value);
    Color GradientColor() const;
    void SetGradientColor(Color value);
    long GradientMode() const;
    void SetGradientMode(long value);
    bool ResetDefaultColors() const; // always false
    void SetResetDefaultColors(bool value);
    long HoverColorLocks() const;
    void SetHoverColorLocks(long value);
    Color HoverForeColor() const;
    void SetHoverForeColor(Color value);
    Color HoverBackColor() const;
    void SetHoverBackColor(Color value);
    HDC hdc() const;
    HWND hWnd() const;
    void Refresh();
    void DelayDrawing(bool bDelay);
    // The help text of a property, as a form editor shows it ("" for none).
    static std::string HelpText(const std::string& property);
    // The access key taken from the caption (0 for none): a UTF-16 character, matched
    // without regard to case against the character a key gives (WM_SYSCHAR).
    wchar_t AccessKey() const;

    // Host notifications a container forwards.
    void AmbientChanged(const std::string& name);

    Impl& impl() { return *impl_; }
    const Impl& impl() const { return *impl_; }

  private:
    explicit Butt(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace butt
