// The gles3 renderer's bookkeeping that needs no GL: immediate-mode polygons gathered and turned
// into triangles or edges, a batch that fills up in the middle of a primitive, the matrix
// stacks' limits, which side of a polygon GL would draw as lines, and what it says of a call it
// does not give.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixedgl/drawstate.h"
#include "fixedgl/facing.h"
#include "fixedgl/matrixstack.h"
#include "fixedgl/unsupported.h"
#include "fixedgl/vertexbatch.h"

namespace {

constexpr uint32_t kTriangles = 0x0004, kQuads = 0x0007, kLines = 0x0001;

SVertex at(float x) {
    return SVertex{{x, 0, 0}, {0, 0, 1}, {1, 1, 1, 1}, {0, 0}};
}

std::vector<uint32_t> triangles(CVertexBatch& batch) {
    size_t n = batch.triangles([](uint32_t, uint32_t) { return true; });
    return std::vector<uint32_t>(batch.indexData(), batch.indexData() + n);
}

void give(CVertexBatch& batch, uint32_t mode, int vertices, float from = 0) {
    ASSERT_TRUE(batch.begin(mode));
    for (int i = 0; i < vertices; ++i) ASSERT_TRUE(batch.add(at(from + i)));
    batch.end();
}

TEST(FixedGLBatch, PrimitivesBecomeTrianglesAndEdges) {
    CVertexBatch batch(64);
    give(batch, kQuads, 4);
    give(batch, kTriangles, 3, 4);
    EXPECT_EQ(triangles(batch), (std::vector<uint32_t>{0, 1, 3, 1, 2, 3, 4, 5, 6}));
    size_t n = batch.edges([](uint32_t first, uint32_t) { return first == 0; });
    EXPECT_EQ(std::vector<uint32_t>(batch.indexData(), batch.indexData() + n),
              (std::vector<uint32_t>{0, 1, 1, 2, 2, 3, 3, 0}));
}

// GL draws only whole polygons: what is left over at glEnd is dropped, and a mode the renderer
// does not give draws nothing.
TEST(FixedGLBatch, AnIncompletePolygonAndAnUnknownModeAddNothing) {
    CVertexBatch batch(64);
    give(batch, kQuads, 6);
    give(batch, kTriangles, 4, 6);
    EXPECT_EQ(triangles(batch), (std::vector<uint32_t>{0, 1, 3, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(batch.vertexCount(), 7u);
    EXPECT_FALSE(batch.begin(kLines));
    EXPECT_TRUE(batch.add(at(9)));
    EXPECT_EQ(batch.vertexCount(), 7u);
}

// A full batch refuses a vertex; once drawn and cleared, the polygon being given goes on.
TEST(FixedGLBatch, APrimitiveLongerThanTheBatchGoesOnAfterADraw) {
    CVertexBatch batch(6);
    ASSERT_TRUE(batch.begin(kQuads));
    int drawn = 0;
    for (int i = 0; i < 12; ++i) {
        if (batch.add(at(float(i)))) continue;
        drawn += static_cast<int>(triangles(batch).size() / 6);
        batch.clear();
        ASSERT_TRUE(batch.add(at(float(i))));
    }
    batch.end();
    drawn += static_cast<int>(triangles(batch).size() / 6);
    EXPECT_EQ(drawn, 3);
    EXPECT_EQ(batch.vertexData()[0].position[0], 8);  // the third quad, whole
}

TEST(FixedGLBatch, MatrixStacksStopAtTheirLimits) {
    CMatrixStack stack;
    EXPECT_FALSE(stack.pop());
    stack.load(CMatrix::translation(1, 2, 3));
    int pushes = 0;
    while (stack.push()) ++pushes;
    EXPECT_EQ(pushes, 31);
    stack.load(CMatrix::scaling(2, 2, 2));
    while (stack.pop()) {
    }
    EXPECT_EQ(stack.top(), CMatrix::translation(1, 2, 3));
}

TEST(FixedGLBatch, PolygonModesAndCullingDecideEachFace) {
    const float a[3] = {0, 0, 0}, b[3] = {1, 0, 0}, c[3] = {0, 1, 0};  // counter-clockwise
    const CMatrix identity;
    struct Case {
        bool cull;
        uint32_t cullFace, front, back;
        EFaceDrawn counterClockwise, clockwise;
    } cases[] = {
        // The mesh outline: front faces culled, back faces as lines.
        {true, 0x0404, 0x1B02, 0x1B01, EFaceDrawn::None, EFaceDrawn::Lines},
        {true, 0x0405, 0x1B01, 0x1B01, EFaceDrawn::Lines, EFaceDrawn::None},
        {false, 0x0405, 0x1B01, 0x1B02, EFaceDrawn::Lines, EFaceDrawn::Filled},
        {true, 0x0408, 0x1B01, 0x1B01, EFaceDrawn::None, EFaceDrawn::None},
    };
    for (const Case& c2 : cases) {
        SDrawState state;
        state.enabled = c2.cull ? kCullFace : 0u;
        state.cullFace = c2.cullFace;
        state.polygonFront = c2.front;
        state.polygonBack = c2.back;
        EXPECT_EQ(faceDrawn(state, identity, a, b, c), c2.counterClockwise);
        EXPECT_EQ(faceDrawn(state, identity, a, c, b), c2.clockwise);
    }
}

// Said once for each call and value, so that a frame of refused calls does not flood the log;
// a debug build stops at the first.
TEST(FixedGLBatch, ACallNotGivenIsSaidOnce) {
#ifdef NDEBUG
    testing::internal::CaptureStderr();
    reportUnsupported("glEnable", 0x0B57);
    reportUnsupported("glEnable", 0x0B57);
    reportUnsupported("glFogi", 0x0800);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "vexmoro: glEnable(0x0B57) is not given by the gles3 renderer\n"
              "vexmoro: glFogi(0x0800) is not given by the gles3 renderer\n");
#else
    EXPECT_DEATH(reportUnsupported("glEnable", 0x0B57), "glEnable\\(0x0B57\\)");
#endif
}

}  // namespace
