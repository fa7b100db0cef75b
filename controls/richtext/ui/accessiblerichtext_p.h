#pragma once

namespace rtf {

// Registers the accessible interfaces of the rich-text captions and viewer with Qt's factory once.
void installRichTextAccessibility();

} // namespace rtf
