// One of fixed-function GL's matrix stacks: a current matrix that the transformation calls
// multiply on the right, and up to 32 of them pushed and popped, as deep as common drivers let
// every stack go. Pure arithmetic; any thread.
#pragma once

#include <array>
#include <cstddef>

#include "fixedgl/matrix.h"

class CMatrixStack {
public:
    const CMatrix& top() const { return stack[used - 1]; }
    void load(const CMatrix& matrix) { stack[used - 1] = matrix; }
    void multiply(const CMatrix& matrix) { stack[used - 1] = stack[used - 1] * matrix; }
    // False, changing nothing, past the depth (an overflow) or below the last matrix (an
    // underflow), where GL raises an error.
    bool push();
    bool pop();

private:
    std::array<CMatrix, 32> stack;
    size_t used = 1;
};
