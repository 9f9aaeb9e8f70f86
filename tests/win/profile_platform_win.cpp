#include "tests/support/profile_platform.h"

const bool kWriterKeepsOtherBytes = false;  // under Wine; see profile_platform.h
