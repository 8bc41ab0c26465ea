#include "assets/eglbrush.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <memory>

#include "assets/texture.h"
#include "core/systemreason.h"
#include "platform/messagebox.h"

namespace {

const char* const kCaption = "CEGLBrush::loadFromFile";

// Far beyond any mesh of the show; keeps a hostile file from making us allocate gigabytes.
const std::streamoff kMaxFileBytes = 256 * 1024 * 1024;
const std::uint32_t kMaxCount = 1u << 24;
// A mesh costs far more memory than the 12 bytes of its smallest record; this keeps a file of
// empty meshes to a few megabytes.
const std::uint32_t kMaxMeshes = 1u << 16;

const std::size_t kHeaderBytes = 12;
const std::size_t kVertexBytes = 20;
const std::size_t kTriangleBytes = 12;

// Little-endian fields read byte by byte, so the format does not depend on the host.
class ByteReader {
public:
    ByteReader(const unsigned char* bytes, std::size_t size) : data(bytes), end(size) {}

    std::size_t remaining() const { return end - pos; }

    bool readU32(std::uint32_t& value) {
        if (remaining() < 4) return false;
        const unsigned char* p = data + pos;
        value = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                std::uint32_t(p[3]) << 24;
        pos += 4;
        return true;
    }

    // Callers have checked that the block fits before reading it field by field.
    std::uint32_t u32() {
        std::uint32_t value = 0;
        readU32(value);
        return value;
    }

    float f32() {
        std::uint32_t bits = u32();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    // The name ends at its first zero byte if it holds one.
    std::string text(std::size_t length) {
        const char* first = reinterpret_cast<const char*>(data + pos);
        pos += length;
        return std::string(first, std::find(first, first + length, '\0'));
    }

private:
    const unsigned char* data;
    std::size_t end;
    std::size_t pos = 0;
};

enum class FileRead { Ok, CannotOpen, TooLarge };

// Not zero-filled: every byte is read from the file before it is looked at.
struct FileBytes {
    std::unique_ptr<unsigned char[]> data;
    std::size_t size = 0;
};

FileRead readWholeFile(const char* path, FileBytes& bytes) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (!in.good() || size < 0) return FileRead::CannotOpen;
    if (size > kMaxFileBytes) return FileRead::TooLarge;
    bytes.size = static_cast<std::size_t>(size);
    bytes.data.reset(new unsigned char[bytes.size]);
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data.get()), size)) {
        return FileRead::CannotOpen;
    }
    return FileRead::Ok;
}

// The header's counts, checked against the bytes left before anything is allocated.
const char* checkMeshHeader(ByteReader& in, std::int32_t& vertexCnt, std::int32_t& triangleCnt,
                            std::string& name) {
    std::uint32_t vertices, triangles, nameLength;
    if (!in.readU32(vertices) || !in.readU32(triangles) || !in.readU32(nameLength)) {
        return "the file ends inside a mesh header";
    }
    if (std::int32_t(vertices) < 0 || std::int32_t(triangles) < 0 || std::int32_t(nameLength) < 0) {
        return "a mesh has a negative count";
    }
    if (nameLength > in.remaining()) return "a mesh name runs past the end of the file";
    name = in.text(nameLength);
    if (vertices > kMaxCount || triangles > kMaxCount) return "a mesh has too many elements";
    if (std::size_t(vertices) * kVertexBytes > in.remaining()) {
        return "a mesh's vertices run past the end of the file";
    }
    if (std::size_t(triangles) * kTriangleBytes > in.remaining() - vertices * kVertexBytes) {
        return "a mesh's triangles run past the end of the file";
    }
    vertexCnt = std::int32_t(vertices);
    triangleCnt = std::int32_t(triangles);
    return nullptr;
}

const char* readMeshBody(ByteReader& in, CEGLMesh& mesh) {
    for (int k = 0; k < mesh.vertexCount; ++k) {
        CVector position;
        position.x = in.f32();
        position.y = in.f32();
        position.z = in.f32();
        mesh.vertices[k] = position;
        mesh.basePositions[k] = position;
        float s = in.f32();
        mesh.texCoords[k][0] = static_cast<float>(1.0 - s);
        mesh.texCoords[k][1] = in.f32();
    }
    for (int k = 0; k < mesh.triangleCount; ++k) {
        for (std::uint32_t& index : mesh.triangles[k]) {
            index = in.u32();
            if (index >= std::uint32_t(mesh.vertexCount)) {
                return "a triangle uses a vertex the mesh does not have";
            }
        }
    }
    return nullptr;
}

const char* readMesh(ByteReader& in, CEGLMesh& mesh) {
    std::int32_t vertexCnt = 0, triangleCnt = 0;
    const char* problem = checkMeshHeader(in, vertexCnt, triangleCnt, mesh.name);
    if (problem != nullptr) return problem;
    mesh.allocate(vertexCnt, triangleCnt);
    return readMeshBody(in, mesh);
}

// Either every mesh of the file or none: on a problem the meshes read so far are deleted.
const char* readMeshes(const FileBytes& bytes, std::vector<std::unique_ptr<CEGLMesh>>& meshes) {
    ByteReader in(bytes.data.get(), bytes.size);
    std::uint32_t count;
    if (!in.readU32(count)) return "the file is too short to hold a mesh count";
    if (std::int32_t(count) < 0) return "the mesh count is negative";
    if (count > in.remaining() / kHeaderBytes) return "the file cannot hold the meshes it counts";
    if (count > kMaxMeshes) return "the file counts too many meshes";
    const char* problem = nullptr;
    for (std::uint32_t i = 0; i < count && problem == nullptr; ++i) {
        meshes.push_back(std::make_unique<CEGLMesh>());
        problem = readMesh(in, *meshes.back());
    }
    if (problem != nullptr) meshes.clear();
    return problem;
}

// A vertex at the origin has no lag to divide by and follows the target at once.
void chaseWobbleAngle(float& angle, float target, float distance) {
    double diff = static_cast<float>(static_cast<double>(target) - angle);
    angle = distance == 0 ? target : static_cast<float>(angle + diff / (distance * 1000.0));
}

}  // namespace

CEGLBrush::CEGLBrush() : meshCount(0) {}

CEGLBrush::~CEGLBrush() {
    clearMeshes();
}

void CEGLBrush::clearMeshes() {
    meshes.clear();
    meshCount = 0;
}

bool CEGLBrush::loadFromFile(const char* path) {
    FileBytes bytes;
    errno = 0;
    FileRead read = readWholeFile(path, bytes);
    if (read == FileRead::CannotOpen) {
        std::string text = std::string("Unable to open object file ") + path + systemReason(errno);
        showMessage(text.c_str(), kCaption);
        return false;
    }
    std::vector<std::unique_ptr<CEGLMesh>> loaded;
    const char* problem =
        read == FileRead::TooLarge ? "the file is too large" : readMeshes(bytes, loaded);
    if (problem != nullptr) {
        std::string text = std::string("Damaged object file ") + path + ": " + problem;
        showMessage(text.c_str(), kCaption);
        return false;
    }
    clearMeshes();
    meshes = std::move(loaded);
    meshCount = static_cast<int>(meshes.size());
    return true;
}

void CEGLBrush::bindMeshTexture(const CEGLMesh& mesh) {
    if (mesh.texture != nullptr) mesh.texture->bind();
}

void CEGLBrush::draw() {
    for (const auto& mesh : meshes) {
        bindMeshTexture(*mesh);
        mesh->draw();
    }
}

void CEGLBrush::drawImmediate() {
    for (const auto& mesh : meshes) {
        bindMeshTexture(*mesh);
        mesh->drawImmediate();
    }
}

void CEGLBrush::drawOutlined(float lineWidth) {
    for (const auto& mesh : meshes) {
        bindMeshTexture(*mesh);
        mesh->drawOutlined(lineWidth);
    }
}

void CEGLBrush::texCoordsFromNormals() {
    for (const auto& mesh : meshes) mesh->texCoordsFromNormals();
}

void CEGLBrush::calcDistances() {
    const CVector vecc;
    for (const auto& mesh : meshes) {
        for (int j = 0; j < mesh->vertexCount; ++j) {
            CVector p2c(mesh->vertices[j], vecc);
            mesh->vertexDistances[j] = p2c.length();
        }
    }
}

void CEGLBrush::drawWobble(float time) {
    double t = time;
    CVector centerRot(static_cast<float>(10.1 * t), static_cast<float>(2 * std::sin(1.2 * t)),
                      static_cast<float>(2 * std::sin(t)));
    for (const auto& mesh : meshes) {
        for (int j = 0; j < mesh->vertexCount; ++j) {
            CVector& angles = mesh->vertexAngles[j];
            float distance = mesh->vertexDistances[j];
            mesh->vertices[j] = mesh->basePositions[j];
            chaseWobbleAngle(angles.x, centerRot.x, distance);
            chaseWobbleAngle(angles.y, centerRot.y, distance);
            chaseWobbleAngle(angles.z, centerRot.z, distance);
            rotateX(mesh->vertices[j], angles.x);
        }
        mesh->calcNormals();
    }
    draw();
}
