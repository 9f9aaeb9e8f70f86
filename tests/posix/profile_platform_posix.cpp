#include "tests/support/profile_platform.h"

const bool kWriterKeepsOtherBytes = true;
