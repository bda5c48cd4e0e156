// What the desktop asks of its windows, answered by the page.
#include "page.h"
#include <present/present.h>

namespace present {

// The page is the display: there is always one.
std::string MissingDisplay() {
    return {};
}

void SetWindowTitle(const std::string& title) {
    morvel_page_title(title.c_str());
}

} // namespace present
