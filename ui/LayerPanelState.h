// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layer panel of one mode: the view switch, the scroll, a row being dragged and the
// transparency lock.
#include "pixels/Selection.h"

#include <cstdint>

namespace vork {

// A layer row being dragged to another place in the list.
struct LayerDrag {
    bool active = false;
    int startX = 0, startY = 0;
    uint64_t layer = 0; // serial of the dragged layer
};

// The layer (by serial) the transparency lock was last applied to, and that layer's revision
// right after: the lock needs applying again only where the layer changed since.
struct LockApplied {
    uint64_t layer = 0;
    uint64_t revision = 0;
};

struct LayerPanelState {
    bool singleLayerView = false; // the canvas shows one layer alone
    uint64_t viewedLayer = 0;     // serial of the layer shown alone
    int layerScroll = 0;
    LayerDrag layerDrag;
    // While active, painting keeps the current layer's transparent pixels transparent.
    Selection transparencyLock;
    LockApplied lockApplied;
};

} // namespace vork
