#include "fixedgl/matrixstack.h"

bool CMatrixStack::push() {
    if (used == stack.size()) return false;
    stack[used] = stack[used - 1];
    ++used;
    return true;
}

bool CMatrixStack::pop() {
    if (used == 1) return false;
    --used;
    return true;
}
