#include "platform/window.h"

namespace ui {

const char kApplicationTitle[] = "The Marrowgate Control";

}  // namespace ui
