#pragma once

#include <ole2.h>

namespace vantrel::testing {

struct DragOutcome {
    HRESULT result;  // DoDragDrop's answer
    DWORD effect;    // the effect the target chose
};

// A real OLE drag of `data` with the left button, as a user makes it: the button
// is pressed over a small window of this thread, which then runs DoDragDrop while
// another thread moves the cursor to `screenTarget` and releases the button there.
// OLE must be initialized on the calling thread.
DragOutcome DragTo(IDataObject* data, POINT screenTarget);

}  // namespace vantrel::testing
