// The title an HTML file gives itself, proposed as the imported submenu's
// title.
#pragma once
#include <string>

#include "byte_source.h"

// The text of the first TITLE element of the UTF-8 input, cleaned as
// TitleText says; "" when there is none. Reading stops at the element's end,
// or once the title is as long as a title is kept, so an unclosed TITLE costs
// no more than a full one. A TITLE inside a script or a comment is no title.
std::string ReadHtmlTitle(ByteSource& utf8);
