// The browser build has no SDL and no game controllers: the virtual pad is
// never plugged in, as where SDL refuses it, and its actions do nothing.
#include <present/virtual_pad.h>

namespace present {

TVirtualPad::TVirtualPad() {}

TVirtualPad::~TVirtualPad() {}

void TVirtualPad::Apply(const TPadAction&) {}

void TVirtualPad::DeliverEvents() {}

} // namespace present
