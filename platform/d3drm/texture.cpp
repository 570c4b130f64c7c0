// Textures: .bmp pictures found on the engine's search path, decoded to RGBA, with the
// decal settings a texture carries when a frame shows it as a visual.
// Implements IDirect3DRMTexture3's Set/GetDecalOrigin, SetDecalScale, Set/GetDecalSize,
// SetDecalTransparency, SetDecalTransparentColor, and IDirect3DRM3::LoadTexture.
// Leaves out: pictures other than .bmp (D3DRMERR_BADFILE).
#include "platform/d3drm/texture.h"

#include <SDL.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/d3drm/factories.h"

// ---- Decal settings ----------------------------------------------------------------------

HRESULT Texture::SetDecalOrigin(LONG x, LONG y) {
    decalOriginX = x;
    decalOriginY = y;
    return D3DRM_OK;
}

HRESULT Texture::GetDecalOrigin(LONG* x, LONG* y) {
    if (!x || !y) return D3DRMERR_BADVALUE;
    *x = decalOriginX;
    *y = decalOriginY;
    return D3DRM_OK;
}

HRESULT Texture::SetDecalScale(DWORD scale) {
    decalScale = scale ? TRUE : FALSE;
    return D3DRM_OK;
}

HRESULT Texture::SetDecalSize(D3DVALUE w, D3DVALUE h) {
    // A size of 0 is allowed (the decal shows nothing); a negative one is not a size.
    if (!(w >= 0.0f) || !(h >= 0.0f)) return D3DRMERR_BADVALUE;
    decalWidth = w;
    decalHeight = h;
    return D3DRM_OK;
}

HRESULT Texture::GetDecalSize(D3DVALUE* w, D3DVALUE* h) {
    if (!w || !h) return D3DRMERR_BADVALUE;
    *w = decalWidth;
    *h = decalHeight;
    return D3DRM_OK;
}

// The colour key decides which texels the renderer uploads as see-through, so changing it
// or switching it on or off needs a new upload.
HRESULT Texture::SetDecalTransparency(BOOL transparent) {
    const BOOL value = transparent ? TRUE : FALSE;
    if (value != transparency) {
        transparency = value;
        ++version;
    }
    return D3DRM_OK;
}

HRESULT Texture::SetDecalTransparentColor(D3DCOLOR color) {
    if (color != transparentColor) {
        transparentColor = color;
        ++version;
    }
    return D3DRM_OK;
}

D3DCOLOR Texture::Texel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
    if (at + 4 > rgba.size()) return 0;
    const std::uint8_t* p = &rgba[at];
    return (static_cast<D3DCOLOR>(p[3]) << 24) | (static_cast<D3DCOLOR>(p[0]) << 16) |
           (static_cast<D3DCOLOR>(p[1]) << 8) | static_cast<D3DCOLOR>(p[2]);
}

void* Texture::Query(REFIID iid) {
    if (iid == IID_IDirect3DRMTexture3 || iid == IID_IDirect3DRMVisual) return static_cast<IDirect3DRMTexture3*>(this);
    return Object::Query(iid);
}

// ---- Loading -----------------------------------------------------------------------------

namespace {

// Pictures larger than this on either side, or with more texels in all, are refused before
// any decoder allocates memory for them: a corrupt header must not ask for terabytes.
constexpr std::int64_t kMaxSide = 16384;
constexpr std::int64_t kMaxTexels = 64ll * 1024 * 1024;
constexpr std::uintmax_t kMaxFileBytes = 512ull * 1024 * 1024;

constexpr std::uint32_t kBitfields = 3;        // BI_BITFIELDS
constexpr std::uint32_t kAlphaBitfields = 6;   // BI_ALPHABITFIELDS

std::uint32_t Read16(const std::string& b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 1])) << 8);
}
std::uint32_t Read32(const std::string& b, std::size_t at) { return Read16(b, at) | (Read16(b, at + 2) << 16); }

struct BmpHeader {
    std::int64_t width = 0;
    std::int64_t height = 0;   // negative for pictures stored from the top
    std::uint32_t compression = 0;
};

// The size and compression the file's headers state, or nothing when the file is not a BMP
// of a size worth decoding.
std::optional<BmpHeader> ReadHeader(const std::string& file) {
    if (file.size() < 26 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
    BmpHeader h;
    const std::uint32_t headerSize = Read32(file, 14);
    if (headerSize == 12) {   // OS/2 1.x: 16-bit sizes, never compressed
        h.width = Read16(file, 18);
        h.height = Read16(file, 20);
    } else {
        h.width = static_cast<std::int32_t>(Read32(file, 18));
        h.height = static_cast<std::int32_t>(Read32(file, 22));
        if (headerSize >= 20 && file.size() >= 34) h.compression = Read32(file, 30);
    }
    const std::int64_t rows = std::llabs(h.height);
    if (h.width <= 0 || rows == 0 || h.width > kMaxSide || rows > kMaxSide || h.width * rows > kMaxTexels)
        return std::nullopt;
    return h;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > kMaxFileBytes) return std::nullopt;
    in.seekg(0, std::ios::beg);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (size > 0 && !in.read(bytes.data(), size)) return std::nullopt;
    return bytes;
}

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

// SDL reads the BMP variants (palettes of any size, RLE4/RLE8, OS/2 and V4/V5 headers); its
// converter gives R, G, B, A bytes per texel, rows from the top.
std::optional<Picture> DecodeWithSdl(const std::string& file) {
    SDL_RWops* source = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    if (!source) return std::nullopt;
    SDL_Surface* loaded = SDL_LoadBMP_RW(source, 1);
    if (!loaded) return std::nullopt;
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (!converted) return std::nullopt;
    Picture picture;
    picture.width = converted->w;
    picture.height = converted->h;
    picture.rgba.resize(static_cast<std::size_t>(converted->w) * static_cast<std::size_t>(converted->h) * 4);
    if (SDL_LockSurface(converted) == 0) {
        const std::size_t row = static_cast<std::size_t>(converted->w) * 4;
        for (int y = 0; y < converted->h; ++y) {
            const auto* from = static_cast<const std::uint8_t*>(converted->pixels) + static_cast<std::size_t>(y) * converted->pitch;
            std::copy(from, from + row, picture.rgba.begin() + static_cast<std::ptrdiff_t>(y * row));
        }
        SDL_UnlockSurface(converted);
    } else {
        SDL_FreeSurface(converted);
        return std::nullopt;
    }
    SDL_FreeSurface(converted);
    return picture;
}

// SDL refuses bit-field layouts that match none of its pixel formats (channels in an unusual
// order or of unusual widths); stb_image reads any masks.
std::optional<Picture> DecodeWithStb(const std::string& file) {
    int w = 0, h = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(file.data()), static_cast<int>(file.size()),
                                            &w, &h, &channels, 4);
    if (!pixels) return std::nullopt;
    Picture picture;
    picture.width = w;
    picture.height = h;
    picture.rgba.assign(pixels, pixels + static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
    stbi_image_free(pixels);
    return picture;
}

}  // namespace

HRESULT LoadTextureFile(const char* name, IDirect3DRMTexture3** texture) {
    if (!texture) return D3DRMERR_BADVALUE;
    *texture = nullptr;
    const std::optional<std::string> path = FindOnSearchPath(name);
    if (!path) return D3DRMERR_FILENOTFOUND;
    const std::optional<std::string> file = ReadWholeFile(*path);
    if (!file) return D3DRMERR_FILENOTFOUND;
    const std::optional<BmpHeader> header = ReadHeader(*file);
    if (!header || file->size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return D3DRMERR_BADFILE;

    std::optional<Picture> picture = DecodeWithSdl(*file);
    if (!picture && (header->compression == kBitfields || header->compression == kAlphaBitfields))
        picture = DecodeWithStb(*file);
    if (!picture || picture->width <= 0 || picture->height <= 0) return D3DRMERR_BADFILE;
    *texture = new Texture(picture->width, picture->height, std::move(picture->rgba));
    return D3DRM_OK;
}
