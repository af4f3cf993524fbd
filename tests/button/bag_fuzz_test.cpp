// The bag reader against hostile text: 100,000 mutations of the APPLY button's stored bag
// (flipped bits, cut texts, repeated and swapped lines, grammar pieces in odd places, huge
// numbers, megabyte captions). Each must end as a bag or as an error that names its line, a
// bag must read back from its own text form unchanged and pass the control's own check, a
// control must be made from it, and memory must not grow with the number of texts read.
#include "harness.h"
#include "property_bag.h"

#include <psapi.h>

#include <numeric>
#include <random>
#include <sstream>

namespace butt::test {
namespace {

std::size_t MemoryInUse() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

// One to three kinds of damage done to `text`.
std::string Mutate(std::string text, std::mt19937& random) {
    const auto below = [&](std::size_t n) { return n ? random() % n : 0; };
    // clang-format off
    static const char* const pieces[] = {
        "\"", "\\", "\\x", "\\xZ", "#", " = ", "(", ")", ",", "\r", "\n", "&H", "-", ".", "e99",
        "NaN", "True", "\xEF\xBB\xBF", "\xC3", "\x01", "99999999999999999999", "-2147483649",
        "4294967296", "1e39", "&HFFFFFFFFF", "-1e-45", "Picture(", "Picture(file \"p.png\")",
        "Font(\"\", 1e30, -5, italic=True, italic=False)", "Picture(resource icon \"#1\")",
        "Picture(file \"\\\\\\\\server\\\\share\\\\a.bmp\")", "Picture(file \"CON\")",
        "shape = 8", "mode = 2", "value = 1"};
    // clang-format on
    for (auto n = below(3) + 1; n > 0; --n) {
        const std::size_t at = below(text.size() + 1);
        const std::string piece = pieces[below(std::size(pieces))];
        switch (below(6)) {
        case 0: // a few flipped bits
            for (auto k = below(4) + 1; k > 0 && !text.empty(); --k)
                text[below(text.size())] ^= static_cast<char>(1 << below(8));
            break;
        case 1: // cut short
            text.resize(at);
            break;
        case 2: { // a line stands twice, or two lines swap places
            std::vector<std::string> l;
            std::istringstream in(text);
            for (std::string line; std::getline(in, line);)
                l.push_back(line + "\n");
            if (l.empty())
                break;
            const std::size_t a = below(l.size()), b = below(l.size());
            below(2) ? std::swap(l[a], l[b]) : void(l.insert(l.begin() + a, l[b]));
            text = std::accumulate(l.begin(), l.end(), std::string());
            break;
        }
        case 3: // a piece of the grammar, or of its extremes, anywhere
            text.insert(at, piece);
            break;
        case 4: // or as a line of its own
            text.insert(text.rfind('\n', at) + 1, piece + "\n");
            break;
        default: // a huge caption instead of the right one
            if (below(200) == 0)
                text += "caption = \"" + std::string(1 << 20, 'W') + "\"\n";
        }
    }
    return text;
}

// The first way in which `text` was not handled soundly; empty when it was.
std::string Fault(const std::string& text, RecordingHost& host, bool loadIntoAControl, int& bags) {
    const BagSources sources{nullptr, TV_TEST_PICTURES};
    const BagRead read = PropertyBag::Read(text, sources);
    bags += read.bag ? 1 : 0;
    if (!read.bag)
        return read.error.rfind("line ", 0) == 0 || read.error.find("NUL") != std::string::npos
                   ? ""
                   : "an error that names no line: " + read.error;
    for (const BagProblem& problem : read.problems)
        if (problem.line < 1 || problem.key.empty() || problem.reason.empty())
            return "a problem without its line, key or reason: " + problem.Text();
    std::vector<BagProblem> unwritten;
    const std::string written = read.bag->ToText(&unwritten);
    // Read back: the same keys with values of the same kinds, written the same (NaN equals NaN).
    const BagRead again = PropertyBag::Read(written, sources);
    bool same = again.bag && unwritten.empty() && again.bag->Keys() == read.bag->Keys() &&
                again.bag->ToText() == written;
    for (const std::string& key : read.bag->Keys())
        same = same && again.bag->Find(key)->index() == read.bag->Find(key)->index();
    if (!same)
        return "its text form does not read back the same:\n" + written;
    PropertyBag taken;
    for (const BagProblem& problem : CheckStoredBag(*read.bag, taken))
        if (!problem.kept)
            return "the check for loading refused what the reader took: " + problem.Text();
    if (loadIntoAControl && !Butt::Load(Form(), 7, {0, 0, 80, 24}, host, *read.bag))
        return "no control was made from it";
    return "";
}

TEST(BagFuzz, MutatedStoredBagsLoadOrSayWhichLineIsWrong) {
    const std::string stored = ResourceBytes("APPLY_BUTTON", RT_RCDATA);
    ASSERT_NE(stored.find("caption"), std::string::npos);
    RecordingHost host;
    std::mt19937 random(20261207);
    std::size_t memoryAfterWarmUp = 0;
    int bags = 0;
    for (int i = 0; i < 100000; ++i) {
        if (i == 1000)
            memoryAfterWarmUp = MemoryInUse();
        const std::string text = Mutate(stored, random);
        ASSERT_EQ(Fault(text, host, i % 100 == 0, bags), "") << "mutant " << i << ":\n"
                                                             << text.substr(0, 2000);
    }
    EXPECT_GT(bags, 10000) << "most mutants should still be bags";
    EXPECT_LT(MemoryInUse(), memoryAfterWarmUp + (32u << 20)) << "memory grew with the texts";
}

} // namespace
} // namespace butt::test
