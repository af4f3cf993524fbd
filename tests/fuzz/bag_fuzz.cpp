// libFuzzer target for the text form of stored properties, built natively with AddressSanitizer
// and UndefinedBehaviorSanitizer by tools/fuzz.sh. Any text must end as a bag or as an error
// that names its line; every problem names its line and key in a short message free of
// control and direction characters; and what was read, written out, reads back the same.
#include "bag_grammar.h"

#include <cstdio>
#include <cstdlib>

namespace {

void Require(bool holds, const char* what, const std::string& detail = {}) {
    if (holds)
        return;
    std::fprintf(stderr, "%s\n%s\n", what, detail.c_str());
    std::abort();
}

// A message a person reads: short, and nothing in it moves or hides the rest.
bool Tame(const std::string& message) {
    for (std::size_t i = 0; i < message.size(); ++i) {
        const auto c = static_cast<unsigned char>(message[i]);
        const auto next = i + 2 < message.size() ? static_cast<unsigned char>(message[i + 2]) : 0;
        if (c < 0x20 || c == 0x7F ||
            (c == 0xC2 && i + 1 < message.size() &&
             static_cast<unsigned char>(message[i + 1]) < 0xA0))
            return false;
        if (c == 0xE2 && message[i + 1] == '\x80' &&
            (next == 0x8E || next == 0x8F || (next >= 0xA8 && next <= 0xAE)))
            return false;
        if (c == 0xE2 && message[i + 1] == '\x81' && next >= 0xA6 && next <= 0xA9)
            return false;
    }
    return message.size() < 1000;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace butt;
    const StoredText read =
        ReadStoredText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read.isBag) {
        Require(read.error.rfind("line ", 0) == 0 && Tame(read.error), "a bad error", read.error);
        return 0;
    }
    for (const BagProblem& problem : read.problems)
        Require(problem.line > 0 && !problem.key.empty() && !problem.reason.empty() &&
                    Tame(problem.Text()),
                "a bad problem", problem.Text());
    std::string written;
    for (const StoredEntry& entry : read.entries) {
        const auto text = StoredValueText(entry.key, entry.value);
        Require(text.has_value() && IsStorableKey(entry.key), "a value without its text form",
                entry.key);
        written += entry.key + " = " + *text + "\n";
    }
    const StoredText again = ReadStoredText(written);
    Require(again.isBag && again.entries.size() == read.entries.size(), "not read back", written);
    for (const BagProblem& problem : again.problems)
        Require(problem.kept, "written text has a problem", problem.Text() + "\n" + written);
    for (std::size_t i = 0; i < read.entries.size(); ++i)
        Require(again.entries[i].key == read.entries[i].key &&
                    again.entries[i].value.index() == read.entries[i].value.index() &&
                    StoredValueText(again.entries[i].key, again.entries[i].value) ==
                        StoredValueText(read.entries[i].key, read.entries[i].value),
                "read back differently", written);
    return 0;
}
