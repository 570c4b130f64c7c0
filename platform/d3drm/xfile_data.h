// Internal to platform/d3drm: a parsed .x file as plain data, what the parser program
// (xfile_parser_main.cpp) hands the loader, and the compact encoding it travels in.
#pragma once

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A frame of the file. Every node but the first (the root) is the child of exactly one
// node that comes before it.
struct XFileNode {
    std::string name;
    glm::mat4 transform{1.0f};                  // relative to the parent
    std::vector<std::uint32_t> meshes;          // indices into XFileScene::meshes
    std::vector<std::uint32_t> children;        // indices into XFileScene::nodes, in the file's order
};

// One mesh of one material; a face's corners index its positions (an index past them is kept).
struct XFileMesh {
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;             // none, or one per position
    std::vector<glm::vec2> texcoords;           // none, or one per position
    std::vector<glm::vec4> colors;              // none, or one RGBA per position
    std::vector<std::uint32_t> faceSizes;       // the number of corners of each face
    std::vector<std::uint32_t> corners;         // the faces' corners, face after face
    std::uint32_t material = 0;                 // index into XFileScene::materials
};

struct XFileMaterial {
    std::string name;                           // empty: the stand-in for faces without a material
    glm::vec4 diffuse{1.0f};                    // RGBA
    glm::vec3 specular{0.0f};
    glm::vec3 emissive{0.0f};
    float power = 0.0f;
    std::string texture;                        // the diffuse texture's name as written; empty: none
};

template <class Value>
struct XFileKey {
    double time = 0.0;                          // in ticks
    Value value{};
};

// The keys of one frame in one animation.
struct XFileChannel {
    std::string node;                           // the name of the frame it moves
    std::vector<XFileKey<glm::vec3>> positions;
    std::vector<XFileKey<glm::quat>> rotations;
    std::vector<XFileKey<glm::vec3>> scales;
};

struct XFileAnimation {
    std::string name;
    double ticksPerSecond = 0.0;                // 0: the file does not say
    std::vector<XFileChannel> channels;
};

struct XFileScene {
    std::vector<XFileNode> nodes;               // the root first; never empty in a decoded scene
    std::vector<XFileMesh> meshes;
    std::vector<XFileMaterial> materials;
    std::vector<XFileAnimation> animations;
};

// The scene as bytes, for this build of the program only (native byte order and layout).
std::string EncodeXFileScene(const XFileScene& scene);
// The scene those bytes hold; nullopt when they are not one whole, consistent encoding (cut
// short, trailing bytes, counts past the bytes left, per-position arrays of another length,
// faces that do not add up to their corners, a node tree that is not a tree). Never reads
// past the bytes nor allocates more than a small multiple of their size.
std::optional<XFileScene> DecodeXFileScene(std::string_view bytes);
