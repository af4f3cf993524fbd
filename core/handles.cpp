#include "handles.h"

namespace tv {
namespace detail {
std::atomic<long> liveGdiObjects{0};
}

long LiveGdiObjects() {
    return detail::liveGdiObjects.load();
}

} // namespace tv
