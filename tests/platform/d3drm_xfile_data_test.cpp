// The encoding of a parsed .x file between the parser program and the loader: what goes in
// comes out, and an answer that is cut short or lies about itself is refused without reading
// past its end or allocating what it claims.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/d3drm/xfile_data.h"

namespace {

// A root with one child frame holding a textured, coloured triangle, and an animation of it.
XFileScene SmallScene() {
    XFileScene scene;
    scene.nodes.resize(2);
    scene.nodes[0].name = "$dummy_root";
    scene.nodes[0].children = {1};
    scene.nodes[1].name = "Lamp";
    scene.nodes[1].transform[3] = glm::vec4(1.0f, 2.0f, 3.0f, 1.0f);
    scene.nodes[1].meshes = {0};
    XFileMesh& mesh = scene.meshes.emplace_back();
    mesh.positions = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}};
    mesh.normals.assign(3, glm::vec3(0, 0, -1));
    mesh.texcoords = {{0, 0}, {0, 1}, {1, 0}};
    mesh.colors.assign(3, glm::vec4(1, 0, 0, 1));
    mesh.faceSizes = {3};
    mesh.corners = {0, 1, 2};
    scene.materials.push_back({.name = "Brass", .power = 8.0f, .texture = "textures\\brass.bmp"});
    XFileAnimation& animation = scene.animations.emplace_back();
    animation.name = "Swing";
    animation.ticksPerSecond = 4800.0;
    animation.channels.push_back({.node = "Lamp",
                                  .positions = {{0.0, {0, 0, 0}}, {4800.0, {0, 1, 0}}},
                                  .rotations = {{2400.0, glm::quat(0.5f, 0.5f, 0.5f, 0.5f)}},
                                  .scales = {}});
    return scene;
}

}  // namespace

TEST(XFileData, WhatIsEncodedDecodesAndEveryCutOrAdditionFails) {
    const std::string bytes = EncodeXFileScene(SmallScene());
    const std::optional<XFileScene> decoded = DecodeXFileScene(bytes);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->nodes.size(), 2u);
    EXPECT_EQ(decoded->nodes[1].name, "Lamp");
    EXPECT_EQ(decoded->nodes[1].transform[3], glm::vec4(1.0f, 2.0f, 3.0f, 1.0f));
    ASSERT_EQ(decoded->meshes.size(), 1u);
    EXPECT_EQ(decoded->meshes[0].positions[1], glm::vec3(0, 1, 0));
    EXPECT_EQ(decoded->meshes[0].corners, (std::vector<std::uint32_t>{0, 1, 2}));
    EXPECT_EQ(decoded->materials.at(0).texture, "textures\\brass.bmp");
    ASSERT_EQ(decoded->animations.size(), 1u);
    const XFileChannel& channel = decoded->animations[0].channels.at(0);
    EXPECT_EQ(channel.positions.at(1).time, 4800.0);
    EXPECT_EQ(channel.rotations.at(0).value, glm::quat(0.5f, 0.5f, 0.5f, 0.5f));

    for (size_t size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(DecodeXFileScene(std::string_view(bytes).substr(0, size))) << size;
    EXPECT_FALSE(DecodeXFileScene(bytes + '\0'));
}

TEST(XFileData, CountsPastTheBytesLeftAreRefusedBeforeAnythingIsAllocated) {
    const std::string bytes = EncodeXFileScene(SmallScene());
    // After the magic word: the node count, then the first node's name length.
    for (const size_t offset : {4u, 8u}) {
        std::string lying = bytes;
        const std::uint32_t huge = 0xFFFFFFF0u;
        std::memcpy(lying.data() + offset, &huge, sizeof huge);
        EXPECT_FALSE(DecodeXFileScene(lying)) << offset;
    }
}

TEST(XFileData, ScenesTheLoaderCouldNotWalkSafelyAreRefused) {
    auto refused = [](void (*spoil)(XFileScene&)) {
        XFileScene scene = SmallScene();
        spoil(scene);
        return !DecodeXFileScene(EncodeXFileScene(scene));
    };
    // Per-position arrays of another length than the positions.
    EXPECT_TRUE(refused([](XFileScene& s) { s.meshes[0].normals.pop_back(); }));
    EXPECT_TRUE(refused([](XFileScene& s) { s.meshes[0].texcoords.emplace_back(); }));
    EXPECT_TRUE(refused([](XFileScene& s) { s.meshes[0].colors.pop_back(); }));
    // Faces that claim more corners than there are.
    EXPECT_TRUE(refused([](XFileScene& s) { s.meshes[0].faceSizes = {4}; }));
    // Node trees that are not trees: no root, a child past the end, a loop, a node twice,
    // a node nobody holds.
    EXPECT_TRUE(refused([](XFileScene& s) { s.nodes.clear(); }));
    EXPECT_TRUE(refused([](XFileScene& s) { s.nodes[0].children = {2}; }));
    EXPECT_TRUE(refused([](XFileScene& s) { s.nodes[1].children = {0}; }));
    EXPECT_TRUE(refused([](XFileScene& s) { s.nodes[0].children = {1, 1}; }));
    EXPECT_TRUE(refused([](XFileScene& s) { s.nodes[0].children.clear(); }));
    // What the loader checks itself is kept: a corner or mesh index out of range.
    EXPECT_FALSE(refused([](XFileScene& s) { s.meshes[0].corners[2] = 7; }));
    EXPECT_FALSE(refused([](XFileScene& s) { s.nodes[1].meshes = {3}; }));
}
