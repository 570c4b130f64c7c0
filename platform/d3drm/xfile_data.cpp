// The encoding of a parsed .x file between the parser program and the loader: a magic
// word, then each part in order, every array as its 32-bit count and its elements, every
// string as its length and its characters. Numbers are in the machine's own layout: both
// ends are this very build.
// Internal to platform/d3drm: no platform call; serves the .x loader and the parser program.
#include "platform/d3drm/xfile_data.h"

#include <cstring>
#include <type_traits>

namespace {

constexpr char kMagic[4] = {'V', 'X', 'S', '1'};

class Writer {
public:
    template <class T>
    void Put(const T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        out_.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
    void Count(size_t count) { Put(static_cast<std::uint32_t>(count)); }
    void String(const std::string& text) {
        Count(text.size());
        out_ += text;
    }
    template <class T>
    void Array(const std::vector<T>& values) {
        static_assert(std::is_trivially_copyable_v<T>);
        Count(values.size());
        out_.append(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T));
    }
    std::string Take() { return std::move(out_); }

private:
    std::string out_;
};

// Reads from the front of the bytes; once a read fails, every later one fails too.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool Ok() const { return ok_; }
    bool AtEnd() const { return ok_ && at_ == bytes_.size(); }

    template <class T>
    bool Get(T* value) {
        static_assert(std::is_trivially_copyable_v<T>);
        if (!Take(sizeof(T))) return false;
        std::memcpy(value, bytes_.data() + at_ - sizeof(T), sizeof(T));
        return true;
    }
    // A count of elements each of which takes at least `leastBytes` of what is left.
    bool Count(size_t leastBytes, size_t* count) {
        std::uint32_t n = 0;
        if (!Get(&n)) return false;
        if (n > Left() / leastBytes) return Fail();
        *count = n;
        return true;
    }
    bool String(std::string* text) {
        size_t length = 0;
        if (!Count(1, &length)) return false;
        text->assign(bytes_.data() + at_, length);
        at_ += length;
        return true;
    }
    template <class T>
    bool Array(std::vector<T>* values) {
        static_assert(std::is_trivially_copyable_v<T>);
        size_t count = 0;
        if (!Count(sizeof(T), &count)) return false;
        values->resize(count);
        if (count > 0) std::memcpy(values->data(), bytes_.data() + at_, count * sizeof(T));
        at_ += count * sizeof(T);
        return true;
    }
    bool Fail() {
        ok_ = false;
        return false;
    }

private:
    size_t Left() const { return bytes_.size() - at_; }
    bool Take(size_t size) {
        if (!ok_ || Left() < size) return Fail();
        at_ += size;
        return true;
    }

    std::string_view bytes_;
    size_t at_ = 0;
    bool ok_ = true;
};

// The fewest bytes each kind of element takes, so that a count can be checked against what
// is left before anything is allocated for it.
constexpr size_t kCountBytes = sizeof(std::uint32_t);
constexpr size_t kLeastNode = kCountBytes + sizeof(glm::mat4) + 2 * kCountBytes;
constexpr size_t kLeastMesh = 6 * kCountBytes + sizeof(std::uint32_t);
constexpr size_t kLeastMaterial = kCountBytes + sizeof(glm::vec4) + 2 * sizeof(glm::vec3) + sizeof(float) + kCountBytes;
constexpr size_t kLeastChannel = 4 * kCountBytes;
constexpr size_t kLeastAnimation = kCountBytes + sizeof(double) + kCountBytes;

void PutNode(Writer& w, const XFileNode& node) {
    w.String(node.name);
    w.Put(node.transform);
    w.Array(node.meshes);
    w.Array(node.children);
}

bool GetNode(Reader& r, XFileNode* node) {
    return r.String(&node->name) && r.Get(&node->transform) && r.Array(&node->meshes) && r.Array(&node->children);
}

void PutMesh(Writer& w, const XFileMesh& mesh) {
    w.Array(mesh.positions);
    w.Array(mesh.normals);
    w.Array(mesh.texcoords);
    w.Array(mesh.colors);
    w.Array(mesh.faceSizes);
    w.Array(mesh.corners);
    w.Put(mesh.material);
}

bool GetMesh(Reader& r, XFileMesh* mesh) {
    if (!(r.Array(&mesh->positions) && r.Array(&mesh->normals) && r.Array(&mesh->texcoords) &&
          r.Array(&mesh->colors) && r.Array(&mesh->faceSizes) && r.Array(&mesh->corners) && r.Get(&mesh->material)))
        return false;
    // Per-position arrays are whole or absent; the faces use up their corners exactly.
    const size_t count = mesh->positions.size();
    for (const size_t size : {mesh->normals.size(), mesh->texcoords.size(), mesh->colors.size()})
        if (size != 0 && size != count) return r.Fail();
    std::uint64_t corners = 0;
    for (const std::uint32_t size : mesh->faceSizes) corners += size;
    if (corners != mesh->corners.size()) return r.Fail();
    return true;
}

void PutMaterial(Writer& w, const XFileMaterial& material) {
    w.String(material.name);
    w.Put(material.diffuse);
    w.Put(material.specular);
    w.Put(material.emissive);
    w.Put(material.power);
    w.String(material.texture);
}

bool GetMaterial(Reader& r, XFileMaterial* material) {
    return r.String(&material->name) && r.Get(&material->diffuse) && r.Get(&material->specular) &&
           r.Get(&material->emissive) && r.Get(&material->power) && r.String(&material->texture);
}

void PutAnimation(Writer& w, const XFileAnimation& animation) {
    w.String(animation.name);
    w.Put(animation.ticksPerSecond);
    w.Count(animation.channels.size());
    for (const XFileChannel& channel : animation.channels) {
        w.String(channel.node);
        w.Array(channel.positions);
        w.Array(channel.rotations);
        w.Array(channel.scales);
    }
}

bool GetAnimation(Reader& r, XFileAnimation* animation) {
    size_t channels = 0;
    if (!(r.String(&animation->name) && r.Get(&animation->ticksPerSecond) && r.Count(kLeastChannel, &channels)))
        return false;
    animation->channels.resize(channels);
    for (XFileChannel& channel : animation->channels)
        if (!(r.String(&channel.node) && r.Array(&channel.positions) && r.Array(&channel.rotations) &&
              r.Array(&channel.scales)))
            return false;
    return true;
}

// Every node but the root is named a child exactly once, by a node before it: a tree, and
// one that a walk from the root covers without visiting any node twice.
bool IsTree(const std::vector<XFileNode>& nodes) {
    std::vector<bool> named(nodes.size(), false);
    for (size_t i = 0; i < nodes.size(); ++i)
        for (const std::uint32_t child : nodes[i].children) {
            if (child <= i || child >= nodes.size() || named[child]) return false;
            named[child] = true;
        }
    for (size_t i = 1; i < nodes.size(); ++i)
        if (!named[i]) return false;
    return true;
}

template <class T, class Get>
bool GetAll(Reader& r, size_t leastBytes, std::vector<T>* items, Get get) {
    size_t count = 0;
    if (!r.Count(leastBytes, &count)) return false;
    items->resize(count);
    for (T& item : *items)
        if (!get(r, &item)) return false;
    return true;
}

}  // namespace

std::string EncodeXFileScene(const XFileScene& scene) {
    Writer w;
    for (const char c : kMagic) w.Put(c);
    w.Count(scene.nodes.size());
    for (const XFileNode& node : scene.nodes) PutNode(w, node);
    w.Count(scene.meshes.size());
    for (const XFileMesh& mesh : scene.meshes) PutMesh(w, mesh);
    w.Count(scene.materials.size());
    for (const XFileMaterial& material : scene.materials) PutMaterial(w, material);
    w.Count(scene.animations.size());
    for (const XFileAnimation& animation : scene.animations) PutAnimation(w, animation);
    return w.Take();
}

std::optional<XFileScene> DecodeXFileScene(std::string_view bytes) {
    Reader r(bytes);
    char magic[sizeof kMagic];
    if (!r.Get(&magic) || std::memcmp(magic, kMagic, sizeof kMagic) != 0) return std::nullopt;
    XFileScene scene;
    if (!GetAll(r, kLeastNode, &scene.nodes, GetNode) || !GetAll(r, kLeastMesh, &scene.meshes, GetMesh) ||
        !GetAll(r, kLeastMaterial, &scene.materials, GetMaterial) ||
        !GetAll(r, kLeastAnimation, &scene.animations, GetAnimation) || !r.AtEnd())
        return std::nullopt;
    if (scene.nodes.empty() || !IsTree(scene.nodes)) return std::nullopt;
    return scene;
}
