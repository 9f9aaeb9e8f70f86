// The application icon at the sizes the system wants: the one 32 by 32
// picture of 16 colours, scaled once, smoothly, where another size is wanted.
#pragma once

#include <windows.h>

namespace app {

// SM_CXICON or SM_CXSMICON at `dpi` (the system's own in proportion where
// GetSystemMetricsForDpi is missing).
int IconMetric(int index, UINT dpi);

// The icon at `size` pixels square, the caller's to destroy: the picture as
// it is at its own size, else scaled with a tent filter on colours weighted
// by their opacity, its transparent ground kept transparent by an alpha
// channel.
HICON LoadIconAt(int size);

}  // namespace app
