#pragma once
// The program's own Apply button, made from its stored properties (assets/apply_button.txt),
// for the tools that show or time it: never a copy of those values in code.
#include "butt.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace tools {

inline std::unique_ptr<butt::Butt> LoadStoredApply(HWND parent, butt::ButtHost& host, RECT bounds,
                                                   const char* path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = std::string("cannot read ") + path;
        return nullptr;
    }
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    const auto bag = butt::PropertyBag::Parse(text, error);
    if (!bag)
        return nullptr;
    auto control = butt::Butt::Load(parent, 1, bounds, host, *bag, &error);
    if (!error.empty())
        return nullptr; // the stored data was refused: the control holds only defaults
    return control;
}

} // namespace tools
