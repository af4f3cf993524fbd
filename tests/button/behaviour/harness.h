#pragma once
// A form for the behaviour tests: a real top-level window holding real controls, a host that
// records what the control tells it, and a log of the control's events in their order.
#include "butt_impl.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace butt::test {

class RecordingHost : public ButtHost {
  public:
    struct Message {
        std::string text;
        std::string title;
        UINT type;
    };
    bool userMode = true;
    bool displayAsDefault = false;
    bool cancel = false;
    Color ambientBack = kButtonFace;
    std::string name = "Butt1";
    std::vector<std::string> changed;
    std::vector<Message> messages;

    bool UserMode() const override { return userMode; }
    bool DisplayAsDefault() const override { return displayAsDefault; }
    bool IsCancelButton() const override { return cancel; }
    Color AmbientBackColor() const override { return ambientBack; }
    std::string DisplayName() const override { return name; }
    std::string ApplicationTitle() const override { return "VH - Torv3 No Intros"; }
    void PropertyChanged(const std::string& key) override { changed.push_back(key); }
    int ShowMessage(const std::string& text, const std::string& title, UINT type) override {
        messages.push_back({text, title, type});
        return IDOK;
    }
};

// A visible top-level window at a known place on the screen, recording the key-down messages
// that reach it.
class Form {
  public:
    Form();
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    HWND hwnd() const { return hwnd_; }
    struct Key {
        WPARAM code;
        LPARAM data;
    };
    std::vector<Key> keys;

  private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
};

// The form shared by all tests, its recorded keys cleared.
Form& TheForm();

// Lets posted messages, timers and X events arrive for about `ms` milliseconds.
void Pump(DWORD ms);

// Records every event of `control` as text: "MouseDown 1 0 10 5", "Click", "MouseOnButton 1".
void Record(Butt& control, std::vector<std::string>& log);

// Sends a mouse message at client point (x, y) of the control.
void Mouse(const Butt& control, UINT message, int x = 10, int y = 5, WPARAM keys = 0);
void Key(const Butt& control, UINT message, WPARAM key);

// The control's client point (x, y) on the screen.
POINT OnScreen(const Butt& control, int x, int y);

std::string Joined(const std::vector<std::string>& log);

} // namespace butt::test
