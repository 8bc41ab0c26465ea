#include "assets/eglbrush.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <utility>

#include "platform/host.h"
#include "support/ebrwriter.h"
#include "support/messagerecorder.h"

namespace {

const char* const kCaption = "CEGLBrush::loadFromFile";

EbrWriter oneTriangleFile(const std::string& name = "quad") {
    EbrWriter w;
    w.u32(1).header(3, 1, name);
    w.vertex(makeVector(0, 0, 0), 0.25f, 0.75f);
    w.vertex(makeVector(1, 0, 0), 0, 0);
    w.vertex(makeVector(0, 1, 0), 1, 1);
    w.triangle(0, 1, 2);
    return w;
}

void expectRefused(CEGLBrush& brush, const MessageRecorder& messages) {
    EXPECT_EQ(brush.meshCount, 0);
    EXPECT_TRUE(brush.meshes.empty());
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].style, MessageBoxStyle::Plain);
    EXPECT_EQ(messages.boxes[0].caption, kCaption);
    EXPECT_NE(messages.boxes[0].text.find("Damaged object file"), std::string::npos);
}

}  // namespace

TEST(CEGLBrush, CountOfZeroGivesAnEmptyBrush) {
    MessageRecorder messages;
    EbrWriter::TempFile file(EbrWriter().u32(0));
    CEGLBrush brush;
    EXPECT_TRUE(brush.loadFromFile(file.path()));
    EXPECT_EQ(brush.meshCount, 0);
    EXPECT_TRUE(brush.meshes.empty());
    EXPECT_TRUE(messages.boxes.empty());
}

TEST(CEGLBrush, LoadsOneMesh) {
    EbrWriter w = oneTriangleFile();
    ASSERT_EQ(w.bytes.size(), 4u + 88u);
    EbrWriter::TempFile file(w);
    CEGLBrush brush;
    ASSERT_TRUE(brush.loadFromFile(file.path()));
    ASSERT_EQ(brush.meshCount, 1);
    ASSERT_EQ(brush.meshes.size(), 1u);
    const CEGLMesh& mesh = *brush.meshes[0];
    EXPECT_EQ(mesh.name, "quad");
    EXPECT_EQ(mesh.vertexCount, 3);
    EXPECT_EQ(mesh.triangleCount, 1);
    EXPECT_EQ(mesh.normalCount, 3);
    EXPECT_EQ(mesh.texCoordCount, 3);
    EXPECT_EQ(mesh.vertices[1], makeVector(1, 0, 0));
    EXPECT_EQ(mesh.vertices[2], makeVector(0, 1, 0));
    EXPECT_EQ(mesh.triangles[0][0], 0u);
    EXPECT_EQ(mesh.triangles[0][1], 1u);
    EXPECT_EQ(mesh.triangles[0][2], 2u);
    // The first coordinate is mirrored, the second kept.
    const float expectedCoords[3][2] = {{0.75f, 0.75f}, {1, 0}, {0, 1}};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(mesh.texCoords[k][0], expectedCoords[k][0]) << k;
        EXPECT_EQ(mesh.texCoords[k][1], expectedCoords[k][1]) << k;
        EXPECT_EQ(mesh.basePositions[k], mesh.vertices[k]) << k;
        EXPECT_EQ(mesh.vertexAngles[k], CVector()) << k;
    }
    EXPECT_EQ(mesh.texture, nullptr);
}

TEST(CEGLBrush, ReadsMeshesInOrderAndIgnoresTrailingBytes) {
    EbrWriter w;
    w.u32(2);
    w.mesh({makeVector(1, 2, 3)}, {}, std::string("ab\0cd", 5));
    w.mesh({makeVector(4, 5, 6), makeVector(7, 8, 9)}, {{1, 0, 1}}, "second");
    w.text("trailing junk");
    EbrWriter::TempFile file(w);
    CEGLBrush brush;
    ASSERT_TRUE(brush.loadFromFile(file.path()));
    ASSERT_EQ(brush.meshCount, 2);
    EXPECT_EQ(brush.meshes[0]->name, "ab");
    EXPECT_EQ(brush.meshes[0]->vertices[0], makeVector(1, 2, 3));
    EXPECT_EQ(brush.meshes[0]->triangleCount, 0);
    EXPECT_EQ(brush.meshes[1]->name, "second");
    EXPECT_EQ(brush.meshes[1]->vertices[1], makeVector(7, 8, 9));
    EXPECT_EQ(brush.meshes[1]->triangles[0][0], 1u);
}

TEST(CEGLBrush, MissingFileIsReported) {
    MessageRecorder messages;
    CEGLBrush brush;
    EXPECT_FALSE(brush.loadFromFile("/nonexistent/vexmoro/none.ebr"));
    EXPECT_EQ(brush.meshCount, 0);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].style, MessageBoxStyle::Plain);
    EXPECT_EQ(messages.boxes[0].caption, kCaption);
    EXPECT_EQ(messages.boxes[0].text,
              std::string("Unable to open object file /nonexistent/vexmoro/none.ebr: ") +
                  std::strerror(ENOENT));
}

// Every damaged file is refused whole: no partial mesh, nothing read past the end (run these
// under AddressSanitizer), and no allocation sized by an unchecked count.
TEST(CEGLBrush, RefusesDamagedFiles) {
    const CVector p = makeVector(1, 2, 3);
    struct Case {
        const char* what;
        std::function<void(EbrWriter&)> build;
    } cases[] = {
        {"empty file", [](EbrWriter&) {}},
        {"count cut short", [](EbrWriter& w) { w.text(std::string("\x01\x00", 2)); }},
        {"negative mesh count", [](EbrWriter& w) { w.u32(0xFFFFFFFF); }},
        {"huge mesh count", [](EbrWriter& w) { w.u32(0x7FFFFFFF).u32(0).u32(0).u32(0); }},
        {"fewer meshes than counted", [&](EbrWriter& w) { w.u32(2).mesh({p}, {}); }},
        {"header cut short", [](EbrWriter& w) { w.u32(1).u32(3).u32(1); }},
        {"negative vertex count", [](EbrWriter& w) { w.u32(1).header(-3, 0, "neg"); }},
        {"negative triangle count", [&](EbrWriter& w) { w.u32(1).header(1, -1, "").vertex(p); }},
        {"negative name length", [](EbrWriter& w) { w.u32(1).u32(0).u32(0).u32(0xFFFFFFF0); }},
        {"name past the end", [](EbrWriter& w) { w.u32(1).u32(0).u32(0).u32(1000).text("ab"); }},
        {"huge vertex count", [](EbrWriter& w) { w.u32(1).header(0x7FFFFFFF, 0, "big"); }},
        {"huge triangle count",
         [&](EbrWriter& w) { w.u32(1).header(1, 0x7FFFFFFF, "").vertex(p); }},
        {"vertex block cut short",
         [&](EbrWriter& w) { w.u32(1).header(3, 0, "").vertex(p).vertex(p).f32(1); }},
        {"triangle block cut short",
         [&](EbrWriter& w) { w.u32(1).header(3, 1, "").vertex(p).vertex(p).vertex(p).u32(0); }},
        {"index equal to the vertex count",
         [&](EbrWriter& w) {
             w.u32(1).mesh({p, p, p}, {{0, 1, 3}});
         }},
        {"index far out of range",
         [&](EbrWriter& w) {
             w.u32(1).mesh({p, p, p}, {{0xFFFFFFFF, 1, 2}});
         }},
        {"good mesh, then a damaged one",
         [&](EbrWriter& w) {
             w.u32(2).mesh({p, p, p}, {{0, 1, 2}}).mesh({p}, {{0, 0, 1}});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EbrWriter w;
        c.build(w);
        EbrWriter::TempFile file(w);
        MessageRecorder messages;
        CEGLBrush brush;
        EXPECT_FALSE(brush.loadFromFile(file.path()));
        expectRefused(brush, messages);
    }
}

// A file of nothing but empty meshes used to cost some 370 bytes of heap per 12-byte record:
// gigabytes for a file of tens of megabytes, paid before a damaged end was even seen.
TEST(CEGLBrush, EmptyMeshesCostLittle) {
    const std::pair<uint32_t, bool> counts[] = {{65536, true}, {65537, false}, {1398100, false}};
    for (const auto& count : counts) {
        SCOPED_TRACE(count.first);
        EbrWriter w;
        w.u32(count.first);
        for (uint32_t i = 0; i < count.first; ++i) w.u32(0).u32(0).u32(0);
        EbrWriter::TempFile file(w);
        MessageRecorder messages;
        CEGLBrush brush;
        EXPECT_EQ(brush.loadFromFile(file.path()), count.second);
        EXPECT_EQ(brush.meshCount, count.second ? static_cast<int>(count.first) : 0);
        if (!count.second) expectRefused(brush, messages);
    }
    EXPECT_LT(peakResidentKiB(), 256 * 1024) << "peak memory in KiB";
}

TEST(CEGLBrush, RefusedFileKeepsWhatTheBrushHeld) {
    EbrWriter::TempFile good(oneTriangleFile());
    EbrWriter damaged = oneTriangleFile();
    damaged.bytes.resize(damaged.bytes.size() - 1);
    EbrWriter::TempFile bad(damaged);
    MessageRecorder messages;
    CEGLBrush brush;
    ASSERT_TRUE(brush.loadFromFile(good.path()));
    EXPECT_FALSE(brush.loadFromFile(bad.path()));
    ASSERT_EQ(brush.meshCount, 1);
    EXPECT_EQ(brush.meshes[0]->vertices[2], makeVector(0, 1, 0));
    EXPECT_EQ(messages.boxes.size(), 1u);
}

// A second good load replaces the meshes (the old ones are freed; leaks show under the sanitizer).
TEST(CEGLBrush, SecondLoadReplacesMeshes) {
    EbrWriter two;
    two.u32(2).mesh({makeVector(1, 1, 1)}, {}).mesh({makeVector(2, 2, 2)}, {});
    EbrWriter::TempFile first(two);
    EbrWriter::TempFile second(oneTriangleFile("next"));
    CEGLBrush brush;
    ASSERT_TRUE(brush.loadFromFile(first.path()));
    ASSERT_TRUE(brush.loadFromFile(second.path()));
    ASSERT_EQ(brush.meshCount, 1);
    ASSERT_EQ(brush.meshes.size(), 1u);
    EXPECT_EQ(brush.meshes[0]->name, "next");
}
