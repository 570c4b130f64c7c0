// The .x loader: finds and reads the file, has the parser program parse it, and hands the
// frames, meshes and animation sets it holds to the caller, all or nothing.
// Internal to platform/d3drm: no call of its own; serves IDirect3DRM3::Load and
// IDirect3DRMMeshBuilder3::Load.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <utility>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/d3drm/factories.h"
#include "platform/d3drm/mesh_builder.h"
#include "platform/d3drm/xfile_parse.h"
#include "platform/d3drm/xfile_scene.h"

namespace {

// The 16-byte header: "xof ", the version ("0302"), the format ("txt ", "bin ", "tzip",
// "bzip") and the size of floats ("0032", "0064").
struct Header {
    int version = 0;
    std::string_view format;
    int floatBytes = 4;
};

std::optional<Header> ReadHeader(std::string_view bytes) {
    if (bytes.size() < 16 || bytes.substr(0, 4) != "xof ") return std::nullopt;
    Header header;
    for (size_t i = 4; i < 8; ++i) {
        if (bytes[i] < '0' || bytes[i] > '9') return std::nullopt;
        header.version = header.version * 10 + (bytes[i] - '0');
    }
    header.format = bytes.substr(8, 4);
    header.floatBytes = bytes.substr(12, 4) == "0064" ? 8 : 4;
    return header;
}

// ---- Frames that refer to a mesh by name -------------------------------------------------
// assimp does not resolve a reference such as "{ SharedMesh }" inside a frame: it skips
// data after it and would show part of the model. Such files are found here, by the shape
// of their tokens, and refused. References elsewhere (a material list naming its materials,
// an animation naming its frame) are fine. Compressed files are not looked into.

enum class Token { Name, Open, Close, Guid, Other, End };

bool IsSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\v'; }
bool EndsWord(char c) { return IsSpace(c) || c == '{' || c == '}' || c == ';' || c == ',' || c == '"'; }

class TextTokens {
public:
    explicit TextTokens(std::string_view text) : text_(text) {}

    Token Next(std::string_view* name) {
        for (;;) {
            while (at_ < text_.size() && IsSpace(text_[at_])) ++at_;
            if (at_ >= text_.size()) return Token::End;
            const char c = text_[at_];
            if (c == '#' || (c == '/' && at_ + 1 < text_.size() && text_[at_ + 1] == '/')) {
                while (at_ < text_.size() && text_[at_] != '\n') ++at_;
                continue;
            }
            if (c == '{' || c == '}' || c == ';' || c == ',') {
                ++at_;
                return c == '{' ? Token::Open : c == '}' ? Token::Close : Token::Other;
            }
            if (c == '"') {
                const size_t end = text_.find('"', at_ + 1);
                at_ = end == std::string_view::npos ? text_.size() : end + 1;
                return Token::Other;
            }
            const size_t start = at_;
            while (at_ < text_.size() && !EndsWord(text_[at_])) ++at_;
            *name = text_.substr(start, at_ - start);
            return (*name)[0] == '<' ? Token::Guid : Token::Name;
        }
    }

private:
    std::string_view text_;
    size_t at_ = 0;
};

class BinaryTokens {
public:
    BinaryTokens(std::string_view data, int floatBytes) : data_(data), floatBytes_(floatBytes) {}

    Token Next(std::string_view* name) {
        std::uint32_t kind = 0, length = 0;
        if (!Read(2, &kind)) return Token::End;
        switch (kind) {
        case 0x01:   // a name: its length, its characters
            if (!Read(4, &length) || length > data_.size() - at_) return Token::End;
            *name = data_.substr(at_, length);
            at_ += length;
            return Token::Name;
        case 0x02:   // a string: its length, its characters, a terminating token
            return Read(4, &length) && Skip(std::uint64_t{length} + 2) ? Token::Other : Token::End;
        case 0x03: return Skip(4) ? Token::Other : Token::End;    // an integer
        case 0x05: return Skip(16) ? Token::Guid : Token::End;    // a GUID
        case 0x06:                                                  // a list of integers
            return Read(4, &length) && Skip(std::uint64_t{length} * 4) ? Token::Other : Token::End;
        case 0x07:   // a list of floats
            return Read(4, &length) && Skip(std::uint64_t{length} * static_cast<unsigned>(floatBytes_)) ? Token::Other
                                                                                                         : Token::End;
        case 0x0a: return Token::Open;
        case 0x0b: return Token::Close;
        case 0x1f: *name = "template"; return Token::Name;
        default:
            if (kind >= 0x0c && kind <= 0x14) return Token::Other;   // punctuation
            if (kind >= 0x28 && kind <= 0x34) {                      // the names of types
                *name = "type";
                return Token::Name;
            }
            return Token::End;   // not a token of the format: leave the verdict to the parser
        }
    }

private:
    bool Read(size_t bytes, std::uint32_t* value) {
        if (data_.size() - at_ < bytes) return false;
        *value = 0;
        for (size_t i = 0; i < bytes; ++i)
            *value |= static_cast<std::uint32_t>(static_cast<unsigned char>(data_[at_ + i])) << (8 * i);
        at_ += bytes;
        return true;
    }
    bool Skip(std::uint64_t bytes) {
        if (data_.size() - at_ < bytes) return false;
        at_ += static_cast<size_t>(bytes);
        return true;
    }

    std::string_view data_;
    int floatBytes_;
    size_t at_ = 0;
};

// True when a frame holds "{ name }": a brace that no type name opens, directly in a frame.
template <class Tokens>
bool FrameHoldsReference(Tokens tokens) {
    std::vector<std::string_view> open;   // the type of each open brace; empty for references
    Token previous = Token::Other, beforePrevious = Token::Other;
    std::string_view previousName, beforePreviousName;
    for (;;) {
        std::string_view name;
        const Token token = tokens.Next(&name);
        if (token == Token::End) return false;
        if (token == Token::Guid) continue;
        if (token == Token::Open) {
            if (previous == Token::Name) {
                // "Type {" or "Type name {".
                open.push_back(beforePrevious == Token::Name ? beforePreviousName : previousName);
            } else {
                if (!open.empty() && open.back() == "Frame") return true;
                open.push_back({});
            }
        } else if (token == Token::Close && !open.empty()) {
            open.pop_back();
        }
        beforePrevious = previous;
        beforePreviousName = previousName;
        previous = token;
        previousName = name;
    }
}

bool RefersToObjectsByName(std::string_view bytes, const Header& header) {
    const std::string_view body = bytes.substr(16);
    if (header.format == "txt ") return FrameHoldsReference(TextTokens(body));
    if (header.format == "bin ") return FrameHoldsReference(BinaryTokens(body, header.floatBytes));
    return false;
}

// A parsed file and what its content is read against.
struct ParsedFile {
    XFileScene scene;
    XFileOrigin origin;
};

HRESULT ParseFile(const char* file, D3DRMLOADTEXTURE3CALLBACK textureCallback, void* textureArg, ParsedFile* parsed) {
    if (!file) return D3DRMERR_BADVALUE;
    const std::optional<std::string> path = FindOnSearchPath(file);
    if (!path || std::filesystem::is_directory(*path)) return D3DRMERR_FILENOTFOUND;
    std::ifstream in(*path, std::ios::binary | std::ios::ate);
    if (!in) return D3DRMERR_FILENOTFOUND;
    std::string bytes(static_cast<size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return D3DRMERR_FILENOTFOUND;

    const std::optional<Header> header = ReadHeader(bytes);
    if (!header || RefersToObjectsByName(bytes, *header)) return D3DRMERR_BADFILE;
    std::optional<XFileScene> scene = ParseXFileBytes(bytes);
    if (!scene) return D3DRMERR_BADFILE;
    parsed->scene = std::move(*scene);
    parsed->origin.folder = std::filesystem::path(*path).parent_path().string();
    parsed->origin.version = header->version;
    parsed->origin.textureCallback = textureCallback;
    parsed->origin.textureArg = textureArg;
    return D3DRM_OK;
}

}  // namespace

HRESULT LoadXFile(const char* file, D3DRMLOADCALLBACK loadCallback, void* loadArg,
                  D3DRMLOADTEXTURE3CALLBACK textureCallback, void* textureArg, IDirect3DRMFrame3* parent) {
    ParsedFile parsed;
    if (const HRESULT result = ParseFile(file, textureCallback, textureArg, &parsed); result != D3DRM_OK)
        return result;
    XFileObjects objects;
    if (const HRESULT result = BuildXFileObjects(parsed.scene, parsed.origin, &objects); result != D3DRM_OK)
        return result;

    // Everything is made: only now does anyone see any of it.
    if (parent) {
        for (const auto& frame : objects.frames) parent->AddChild(frame.get());
        for (const auto& mesh : objects.meshes) parent->AddVisual(mesh.get());
    } else if (loadCallback) {
        for (const auto& frame : objects.frames) loadCallback(frame.get(), IID_IDirect3DRMFrame3, loadArg);
        for (const auto& mesh : objects.meshes) loadCallback(mesh.get(), IID_IDirect3DRMMeshBuilder3, loadArg);
    }
    if (loadCallback)
        for (const auto& set : objects.animationSets) loadCallback(set.get(), IID_IDirect3DRMAnimationSet2, loadArg);
    return D3DRM_OK;
}

HRESULT LoadXFileIntoBuilder(MeshBuilder* builder, const char* file, D3DRMLOADTEXTURE3CALLBACK textureCallback,
                             void* textureArg) {
    if (!builder) return D3DRMERR_BADVALUE;
    ParsedFile parsed;
    if (const HRESULT result = ParseFile(file, textureCallback, textureArg, &parsed); result != D3DRM_OK)
        return result;
    return MergeXFileMeshes(parsed.scene, parsed.origin, builder);
}
