#pragma once
// A recording stand-in for the system seam. Prompts must be expected: an unexpected one
// fails the test and is answered with Cancel, so no test ever waits for a click.
#include "system_seam.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tv::test {

struct ShownMessage {
    std::string text;
    std::string title;
    UINT type;
    bool quitPending; // a real box would close at once
};

class FakeSystem : public SystemSeam {
  public:
    FakeSystem() : previous_(SetSystem(this)) {}
    ~FakeSystem() override { SetSystem(previous_); }
    FakeSystem(const FakeSystem&) = delete;
    FakeSystem& operator=(const FakeSystem&) = delete;

    // The next prompt is answered with this button (IDOK, IDYES, IDNO).
    void Answer(int button) { answers_.push_back(button); }
    void PressKey(int virtualKey, SHORT state = SHORT(0x8000)) { keys_[virtualKey] = state; }
    void ReleaseKey(int virtualKey) { keys_.erase(virtualKey); }
    bool AllAnswersUsed() const { return answers_.empty(); }
    // Every message shown so far, one per line: "title|type|text".
    std::string Said() const {
        std::string said;
        for (const ShownMessage& m : messages)
            said += m.title + "|" + std::to_string(m.type) + "|" + m.text + "\n";
        return said;
    }

    std::vector<ShownMessage> messages;
    std::vector<std::string> started;    // UTF-8
    std::vector<std::string> shellCalls; // verb|file|parameters|directory|show; "(null)" for none
    std::vector<UINT> ended;
    bool failStarts = false;
    std::function<void()> whileShown = [] {}; // runs while each box is up, as its loop would

    int ModalBox(HWND, const std::wstring& text, const std::wstring& title, UINT type) override {
        MSG quit;
        messages.push_back({Utf8(text), Utf8(title), type,
                            PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0});
        whileShown();
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected message box: " << messages.back().text;
            return IDCANCEL;
        }
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    void EndProcess(UINT exitCode) override { ended.push_back(exitCode); }
    bool StartProgram(const std::wstring& commandLine, int) override {
        started.push_back(Utf8(commandLine));
        return !failStarts;
    }
    INT_PTR OpenWithShell(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                          const wchar_t* directory, int showCommand) override {
        const auto text = [](const wchar_t* s) { return (s ? Utf8(s) : "(null)") + "|"; };
        shellCalls.push_back(text(verb) + text(file) + text(parameters) + text(directory) +
                             std::to_string(showCommand));
        return 42;
    }
    // Keys pressed since the last query and let go again: read once, as Windows forgets them.
    std::vector<int> taps;
    SHORT AsyncKeyState(int virtualKey) override {
        const auto key = keys_.find(virtualKey);
        const auto tap = std::find(taps.begin(), taps.end(), virtualKey);
        const bool tapped = tap != taps.end();
        if (tapped)
            taps.erase(tap);
        return static_cast<SHORT>((key == keys_.end() ? 0 : key->second) | (tapped ? 1 : 0));
    }

  private:
    SystemSeam* previous_;
    std::deque<int> answers_;
    std::map<int, SHORT> keys_;
};

} // namespace tv::test
