#include "platform/window.h"

namespace platform {

const char kApplicationTitle[] = "The Marrowgate Control";

}  // namespace platform
