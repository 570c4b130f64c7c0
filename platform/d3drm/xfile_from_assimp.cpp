// Turning the assimp scene of a .x file into the plain data the loader builds its objects
// from (xfile_data.h). Runs in the parser program only.
#include "platform/d3drm/xfile_from_assimp.h"

#include <assimp/anim.h>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <utility>

namespace {

// assimp's matrices are stored by rows for column vectors (the translation in a4, b4, c4);
// GLM stores by columns.
glm::mat4 ToGlm(const aiMatrix4x4& m) {
    glm::mat4 g;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) g[col][row] = m[static_cast<unsigned>(row)][col];
    return g;
}

glm::vec3 ToGlm(const aiVector3D& v) { return {v.x, v.y, v.z}; }

// The nodes below the root, numbered in the order a walk reaches them: a node's number is
// smaller than its children's. A stack of its own rather than recursion: the depth is the
// file's to choose.
void AddNodes(const aiNode& root, std::vector<XFileNode>* nodes) {
    std::vector<std::pair<const aiNode*, std::uint32_t>> pending{{&root, 0}};   // a node and its parent
    while (!pending.empty()) {
        const auto [source, parent] = pending.back();
        pending.pop_back();
        const auto index = static_cast<std::uint32_t>(nodes->size());
        if (index > 0) (*nodes)[parent].children.push_back(index);
        XFileNode node;
        node.name = source->mName.C_Str();
        node.transform = ToGlm(source->mTransformation);
        node.meshes.assign(source->mMeshes, source->mMeshes + (source->mMeshes ? source->mNumMeshes : 0));
        nodes->push_back(std::move(node));
        // Pushed last to first, so that the first child comes off the stack first.
        for (unsigned i = source->mNumChildren; i-- > 0;)
            if (source->mChildren[i]) pending.emplace_back(source->mChildren[i], index);
    }
}

XFileMesh MeshFrom(const aiMesh& source) {
    XFileMesh mesh;
    mesh.material = source.mMaterialIndex;
    if (!source.mVertices) return mesh;
    const unsigned count = source.mNumVertices;
    for (unsigned i = 0; i < count; ++i) mesh.positions.push_back(ToGlm(source.mVertices[i]));
    if (source.HasNormals())
        for (unsigned i = 0; i < count; ++i) mesh.normals.push_back(ToGlm(source.mNormals[i]));
    if (source.HasTextureCoords(0))
        for (unsigned i = 0; i < count; ++i)
            mesh.texcoords.emplace_back(source.mTextureCoords[0][i].x, source.mTextureCoords[0][i].y);
    if (source.HasVertexColors(0))
        for (unsigned i = 0; i < count; ++i) {
            const aiColor4D& c = source.mColors[0][i];
            mesh.colors.emplace_back(c.r, c.g, c.b, c.a);
        }
    for (unsigned f = 0; f < source.mNumFaces; ++f) {
        const aiFace& face = source.mFaces[f];
        const unsigned corners = face.mIndices ? face.mNumIndices : 0;
        mesh.faceSizes.push_back(corners);
        mesh.corners.insert(mesh.corners.end(), face.mIndices, face.mIndices + corners);
    }
    return mesh;
}

XFileMaterial MaterialFrom(const aiMaterial& source) {
    XFileMaterial material;
    // When a file has no material, assimp stands in a nameless grey one: its name stays empty.
    aiString name;
    if (source.Get(AI_MATKEY_NAME, name) != AI_SUCCESS || name.length == 0) return material;
    material.name = name.C_Str();
    aiColor4D diffuse(1.0f, 1.0f, 1.0f, 1.0f);
    aiColor3D specular(0.0f, 0.0f, 0.0f), emissive(0.0f, 0.0f, 0.0f);
    source.Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
    source.Get(AI_MATKEY_COLOR_SPECULAR, specular);
    source.Get(AI_MATKEY_COLOR_EMISSIVE, emissive);
    source.Get(AI_MATKEY_SHININESS, material.power);
    material.diffuse = {diffuse.r, diffuse.g, diffuse.b, diffuse.a};
    material.specular = {specular.r, specular.g, specular.b};
    material.emissive = {emissive.r, emissive.g, emissive.b};
    aiString texture;
    if (source.GetTextureCount(aiTextureType_DIFFUSE) > 0 &&
        source.GetTexture(aiTextureType_DIFFUSE, 0, &texture) == AI_SUCCESS)
        material.texture = texture.C_Str();
    return material;
}

XFileChannel ChannelFrom(const aiNodeAnim& source) {
    XFileChannel channel;
    channel.node = source.mNodeName.C_Str();
    for (unsigned k = 0; k < source.mNumPositionKeys; ++k)
        channel.positions.push_back({source.mPositionKeys[k].mTime, ToGlm(source.mPositionKeys[k].mValue)});
    for (unsigned k = 0; k < source.mNumRotationKeys; ++k) {
        const aiQuatKey& key = source.mRotationKeys[k];
        channel.rotations.push_back({key.mTime, glm::quat(key.mValue.w, key.mValue.x, key.mValue.y, key.mValue.z)});
    }
    for (unsigned k = 0; k < source.mNumScalingKeys; ++k)
        channel.scales.push_back({source.mScalingKeys[k].mTime, ToGlm(source.mScalingKeys[k].mValue)});
    return channel;
}

}  // namespace

XFileScene SceneFromAssimp(const aiScene& scene) {
    XFileScene data;
    if (scene.mRootNode) AddNodes(*scene.mRootNode, &data.nodes);
    for (unsigned m = 0; m < scene.mNumMeshes; ++m)
        data.meshes.push_back(scene.mMeshes[m] ? MeshFrom(*scene.mMeshes[m]) : XFileMesh{});
    for (unsigned m = 0; m < scene.mNumMaterials; ++m)
        data.materials.push_back(scene.mMaterials[m] ? MaterialFrom(*scene.mMaterials[m]) : XFileMaterial{});
    for (unsigned a = 0; a < scene.mNumAnimations; ++a) {
        const aiAnimation* source = scene.mAnimations[a];
        if (!source) continue;
        XFileAnimation& animation = data.animations.emplace_back();
        animation.name = source->mName.C_Str();
        animation.ticksPerSecond = source->mTicksPerSecond;
        for (unsigned c = 0; c < source->mNumChannels; ++c)
            if (source->mChannels[c]) animation.channels.push_back(ChannelFrom(*source->mChannels[c]));
    }
    return data;
}
