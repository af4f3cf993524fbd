#pragma once
// A real control on a hidden host window, drawn through DrawButton and read back through
// WM_PRINTCLIENT's path (PrintTo) into a 32-bit DIB section. States are set on the record
// directly, so these tests do not depend on the input handling.
#include "butt_impl.h"
#include "fake_system.h"
#include "pixels.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace butt::test {

class TestHost : public ButtHost {
  public:
    bool userMode = true;
    Color ambientBack = 0xC8D0D4;
    std::vector<std::string> messages;

    bool UserMode() const override { return userMode; }
    Color AmbientBackColor() const override { return ambientBack; }
    int ShowMessage(const std::string& text, const std::string&, UINT) override {
        messages.push_back(text);
        return IDOK;
    }
};

// Pixels of a whole control, as its host would print it.
struct Print {
    std::unique_ptr<Canvas> canvas;
    COLORREF operator()(int x, int y) const { return canvas->Pixel(x, y); }
    int width() const { return canvas->width(); }
    int height() const { return canvas->height(); }
};

class ControlTest : public ::testing::Test {
  protected:
    ControlTest();
    ~ControlTest() override;

    // A control at (20, 20) on the host window, `width` x `height` pixels, with the given
    // style and shape and a plain known face.
    Butt& Make(int width, int height, long style = 4, long shape = 0);
    Butt::Impl& impl() { return control->impl(); }
    // Redraws and prints the control's client area.
    Print Draw();
    Print PrintOnly();
    // The control's top-left corner in the host's client coordinates.
    POINT Position() const;

    void Hover(bool on) {
        impl().IsHovering = on;
        if (on)
            impl().StateFlags |= kPointerInside;
        else
            impl().StateFlags &= ~kPointerInside;
    }
    void Press(bool on) {
        impl().IsPressed = on;
        impl().StateFlags = on ? (impl().StateFlags | kButtonHeld | kPointerInside)
                               : (impl().StateFlags & ~kButtonHeld);
    }

    tv::test::FakeSystem system;
    TestHost host;
    HWND parent = nullptr;
    std::unique_ptr<Butt> control;
    static constexpr Color kFace = 0x00B4824B; // a blue-grey no style derives from anything
};

std::string Hex(COLORREF c);

} // namespace butt::test
