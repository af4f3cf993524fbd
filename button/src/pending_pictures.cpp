// TEMPORARY: definitions not written yet, so that the library links while the control is
// being built. The owner of these operations deletes each one as it is written, and this
// file when it is empty. It must not exist when the work is done.
#include "butt_impl.h"

namespace butt {
void Butt::Impl::MeasurePicture() {}
void Butt::Impl::DrawPicture(RECT) {}
} // namespace butt
