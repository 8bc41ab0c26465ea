#include "ebrwriter.h"

#include <cstdint>
#include <cstring>
#include <fstream>

namespace {

void putU32(std::vector<unsigned char>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

void putFloat(std::vector<unsigned char>& out, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    putU32(out, bits);
}

}  // namespace

std::vector<unsigned char> encodeEbr(const std::vector<CMeshBuilder>& meshes) {
    std::vector<unsigned char> out;
    putU32(out, uint32_t(meshes.size()));
    for (const CMeshBuilder& mesh : meshes) {
        putU32(out, uint32_t(mesh.vertices().size()));
        putU32(out, uint32_t(mesh.triangleCount()));
        putU32(out, uint32_t(mesh.name().size()));
        out.insert(out.end(), mesh.name().begin(), mesh.name().end());
        for (const SMeshVertex& v : mesh.vertices()) {
            for (float f : {v.x, v.y, v.z, v.s, v.t}) putFloat(out, f);
        }
        for (uint32_t index : mesh.indices()) putU32(out, index);
    }
    return out;
}

bool writeEbr(const std::string& path, const std::vector<CMeshBuilder>& meshes) {
    const std::vector<unsigned char> bytes = encodeEbr(meshes);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}
