#include "support/ebrwriter.h"

#include <cstdio>
#include <cstring>
#include <fstream>

#include "support/scratchdir.h"

EbrWriter& EbrWriter::u32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back((value >> shift) & 0xFF);
    return *this;
}

EbrWriter& EbrWriter::f32(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return u32(bits);
}

EbrWriter& EbrWriter::text(const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    return *this;
}

EbrWriter& EbrWriter::header(std::int32_t vertexCnt, std::int32_t triangleCnt,
                             const std::string& name) {
    u32(std::uint32_t(vertexCnt)).u32(std::uint32_t(triangleCnt));
    return u32(std::uint32_t(name.size())).text(name);
}

EbrWriter& EbrWriter::vertex(const CVector& p, float s, float t) {
    return f32(p.x).f32(p.y).f32(p.z).f32(s).f32(t);
}

EbrWriter& EbrWriter::triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    return u32(a).u32(b).u32(c);
}

EbrWriter& EbrWriter::mesh(const std::vector<CVector>& positions,
                           const std::vector<std::array<std::uint32_t, 3>>& triangles,
                           const std::string& name) {
    header(std::int32_t(positions.size()), std::int32_t(triangles.size()), name);
    for (const CVector& p : positions) vertex(p);
    for (const auto& tri : triangles) triangle(tri[0], tri[1], tri[2]);
    return *this;
}

EbrWriter::TempFile::TempFile(const EbrWriter& writer) {
    filePath = tempPath("mesh.ebr");
    std::ofstream out(filePath, std::ios::binary);
    out.write(reinterpret_cast<const char*>(writer.bytes.data()), writer.bytes.size());
}

EbrWriter::TempFile::~TempFile() {
    std::remove(filePath.c_str());
}
