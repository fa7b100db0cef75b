#pragma once

// The preview options, zoom modes and buttons are the report model's own.
#include "report/model/types.h"

namespace rep {

// The bit of a button in TrepPreviewOptions::Buttons.
constexpr TrepPreviewButtons buttonBit(TrepPreviewButton button)
{
    return TrepPreviewButtons(1) << button;
}

} // namespace rep
