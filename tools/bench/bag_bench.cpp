// Loads stored-property bags of 1,000 to 100,000 properties and prints the time of each, to
// show that loading grows linearly with the bag (run on demand, never as a test):
//   tools/wine-env.sh --state $PWD/build/win64/wine run build/win64/bin/bag_bench.exe
// The bag is the APPLY button's real one followed by keys the control does not read, each
// kept and reported, so every key takes the duplicate check and the report.
#include "butt.h"

#include <chrono>
#include <cstdio>
#include <string>

int main() {
    using Clock = std::chrono::steady_clock;
    const std::string known = "caption = \"APPLY\"\nbackstyle = 2\ngradient = 4\n"
                              "cgradient = &H00493328\ncfore = &H00C0C0C0\n";
    double perKey = 0;
    for (const int keys : {1000, 10000, 100000}) {
        std::string text = known;
        for (int i = 0; i < keys; ++i)
            text += "extra" + std::to_string(i) + " = " + std::to_string(i) + "\n";
        const Clock::time_point start = Clock::now();
        const butt::BagRead read = butt::PropertyBag::Read(text);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (!read.bag || read.problems.size() != static_cast<std::size_t>(keys)) {
            std::printf("the bag of %d keys did not load as expected: %s\n", keys,
                        read.error.c_str());
            return 1;
        }
        std::printf("%6d keys: %8.1f ms (%.2f us per key)\n", keys, ms, 1000.0 * ms / keys);
        perKey = ms / keys;
    }
    std::printf("100,000 keys in %s a second\n", perKey * 100000 < 1000 ? "under" : "OVER");
    return 0;
}
