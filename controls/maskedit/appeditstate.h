#pragma once

namespace ctl {

// The edit state shared by every masked edit of the process. Clear `insert` means overwrite.
struct AppEditState
{
    bool insert = true;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// The one process-wide record (user-interface thread only).
AppEditState &appEditState();

} // namespace ctl
