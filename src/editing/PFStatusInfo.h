#pragma once

#include "PFToolStatus.h"

// The view's two tool fields. `editStatus` is the tool chosen on the palette; `currentStatus`
// is the tool in effect, which follows the kind of a selected annotation so that the style
// popovers act on the selection.
struct PFStatusInfo {
    int currentStatus = PFToolStatusNone;
    int editStatus = PFToolStatusNone;
};
