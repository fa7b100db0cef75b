#include "controls/maskedit/appeditstate.h"

namespace ctl {

AppEditState &appEditState()
{
    static AppEditState state;
    return state;
}

} // namespace ctl
