// Test support: builds .ebr mesh files byte by byte (little-endian, damaged ones included) and
// writes them to temporary files that are removed again.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "math/vector.h"

class EbrWriter {
public:
    EbrWriter& u32(std::uint32_t value);
    EbrWriter& f32(float value);
    EbrWriter& text(const std::string& bytes);
    EbrWriter& header(std::int32_t vertexCnt, std::int32_t triangleCnt, const std::string& name);
    EbrWriter& vertex(const CVector& p, float s = 0, float t = 0);
    EbrWriter& triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c);
    // A whole mesh record with texture coordinates (0, 0).
    EbrWriter& mesh(const std::vector<CVector>& positions,
                    const std::vector<std::array<std::uint32_t, 3>>& triangles,
                    const std::string& name = "mesh");

    // The bytes in a fresh temporary file, removed when the object goes.
    class TempFile {
    public:
        explicit TempFile(const EbrWriter& writer);
        ~TempFile();
        TempFile(const TempFile&) = delete;
        TempFile& operator=(const TempFile&) = delete;
        const char* path() const { return filePath.c_str(); }

    private:
        std::string filePath;
    };

    std::vector<unsigned char> bytes;
};
