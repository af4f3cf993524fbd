// TEMPORARY: definitions not written yet, so that the library links while the control is
// being built. The owner of these operations deletes each one as it is written, and this
// file when it is empty. It must not exist when the work is done.
#include "butt_impl.h"

namespace butt {
Butt::Impl::Impl(Butt& o, ButtHost& h) : owner(o), host(h) {}
Butt::Impl::~Impl() = default;
float Butt::Impl::ScaleWidth() const { return 0; }
float Butt::Impl::ScaleHeight() const { return 0; }
void Butt::Impl::SetPictureSize(long) {}
void Butt::Impl::DelayDrawing(bool) {}
void Butt::Impl::OnResize() {}
void Butt::Impl::Refresh() {}
int ButtHost::ShowMessage(const std::string&, const std::string&, UINT) { return IDOK; }
} // namespace butt
