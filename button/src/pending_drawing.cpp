// TEMPORARY: definitions not written yet, so that the library links while the control is
// being built. The owner of these operations deletes each one as it is written, and this
// file when it is empty. It must not exist when the work is done.
#include "butt_impl.h"

namespace butt {
Color TranslateColor(Color color) { return color; }
int Round(double value) { return static_cast<int>(value); }
void Butt::Impl::RefreshProperty(const std::string&) {}
void Butt::Impl::CreateShapeRegion() {}
void Butt::Impl::LayoutContent(bool) {}
void Butt::Impl::DrawButton() {}
void Butt::Impl::UseBackBuffer(bool) {}
void Butt::Impl::SetDrawingTool(bool, HDC, int, Color, bool, int, int) {}
void Butt::Impl::PrintTo(HDC) {}
} // namespace butt
