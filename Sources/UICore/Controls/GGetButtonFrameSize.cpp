#include "Controls/GGetButtonFrameSize.h"

#include <algorithm>

wxSize GGetButtonFrameSize(const wxWindow& button) {
    const wxSize outer = button.GetSize();
    const wxSize inner = button.GetClientSize();
    return {std::max((outer.x - inner.x) / 2, 0), std::max((outer.y - inner.y) / 2, 0)};
}
