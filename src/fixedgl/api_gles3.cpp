#include "fixedgl/calls.h"
#include "fixedgl/fixedpipeline.h"

#define FIXEDGL_DEFINE(result, name, method, parameters, arguments) \
    result fixedgl_##name parameters {                              \
        return CFixedPipeline::current().method arguments;          \
    }
FIXEDGL_CALLS(FIXEDGL_DEFINE)
#undef FIXEDGL_DEFINE
