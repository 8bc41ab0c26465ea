#include <memory>

#include "fixedgl/fixedpipeline.h"
#include "fixedgl/session.h"

namespace {

std::unique_ptr<CFixedPipeline> pipeline;

}  // namespace

void fixedglStart() {
    pipeline = std::make_unique<CFixedPipeline>();
}

void fixedglFlush() {
    if (pipeline) pipeline->flush();
}

void fixedglStop() {
    pipeline.reset();
}

const char* fixedglRenderer() {
    return "gles3";
}

// GL calls are made only while a context is current, and so between start and stop.
CFixedPipeline& CFixedPipeline::current() {
    return *pipeline;
}
