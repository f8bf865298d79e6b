#include "Commands/GImageCommandStack.h"

GImageCommand* GImageCommandStack::pop() {
    if (empty())
        return nullptr;
    GImageCommand* command = top();
    at_remove(getCount() - 1);
    return command;
}

GImageCommand* GImageCommandStack::popBottom() {
    if (empty())
        return nullptr;
    GImageCommand* command = at(0);
    at_remove(0);
    return command;
}
