// Internal to platform/d3drm: the renderer's GLSL, compiled three times: UNLIT for decals,
// PHONG for per-pixel lighting, and neither for flat and Gouraud shading lit per vertex.
// A software rasteriser pays for every instruction of a fragment shader on every pixel, so
// each program carries only the lighting it uses. Uniforms select texturing, colour keys,
// fog and dithering. The background picture, which covers every pixel, has a program of its
// own that only samples it (kPictureVertexGlsl, kPictureFragmentGlsl).
#pragma once

// The scene's lights live in the uniform block "Lights", kLightVec4s vec4s per light; the
// shaders loop over uLightCount of them only. MAX_LIGHTS, the block's capacity, is defined
// before this text from what the driver allows.
constexpr int kLightVec4s = 4;

// Lighting shared by the vertex stage (flat, Gouraud) and the fragment stage (Phong).
// Light types: 0 ambient, 1 point, 2 spot, 3 directional, 4 parallel point.
constexpr const char* kLightingGlsl = R"(
layout(std140) uniform Lights {
    // Per light: colour and type; position and range; direction and umbra cosine;
    // constant, linear and quadratic attenuation and penumbra cosine.
    vec4 uLight[MAX_LIGHTS * 4];
};
uniform int uLightCount;
uniform vec3 uObjectOrigin;
uniform vec3 uCameraPos;
uniform bool uLighting;
uniform vec4 uDiffuse;
uniform vec3 uEmissive;
uniform vec3 uSpecular;
uniform vec3 uMatAmbient;
uniform float uPower;

vec3 Shade(vec3 position, vec3 normal) {
    if (!uLighting) return uDiffuse.rgb;
    vec3 n = normalize(normal);
    vec3 ambient = vec3(0.0);
    vec3 diffuse = vec3(0.0);
    vec3 specular = vec3(0.0);
    vec3 toEye = normalize(uCameraPos - position);
    for (int i = 0; i < uLightCount; ++i) {
        vec4 colorType = uLight[4 * i];
        vec4 posRange = uLight[4 * i + 1];
        vec4 dirUmbra = uLight[4 * i + 2];
        vec4 attenPenumbra = uLight[4 * i + 3];
        int type = int(colorType.w);
        if (type == 0) { ambient += colorType.rgb; continue; }
        vec3 l;
        float attenuation = 1.0;
        if (type == 3) {
            l = -dirUmbra.xyz;
        } else if (type == 4) {
            l = normalize(posRange.xyz - uObjectOrigin);
        } else {
            vec3 d = posRange.xyz - position;
            float dist = length(d);
            if (dist > posRange.w) continue;
            l = d / max(dist, 1e-6);
            attenuation = 1.0 / max(attenPenumbra.x + attenPenumbra.y * dist + attenPenumbra.z * dist * dist, 1e-6);
            if (type == 2) {
                float c = dot(-l, dirUmbra.xyz);
                if (c < attenPenumbra.w) continue;
                if (c < dirUmbra.w)
                    attenuation *= (c - attenPenumbra.w) / max(dirUmbra.w - attenPenumbra.w, 1e-6);
            }
        }
        float lambert = max(dot(n, l), 0.0);
        diffuse += colorType.rgb * lambert * attenuation;
        if (lambert > 0.0 && uPower > 0.0) {
            vec3 h = normalize(l + toEye);
            specular += colorType.rgb * pow(max(dot(n, h), 0.0), uPower) * attenuation;
        }
    }
    return uEmissive + uDiffuse.rgb * (ambient * uMatAmbient + diffuse) + uSpecular * specular;
}
)";

constexpr const char* kVertexGlsl = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec3 aFaceNormal;
layout(location = 3) in vec2 aUv;
uniform mat4 uModel;
uniform mat4 uView;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
uniform int uShade;        // 0 flat, 1 Gouraud, 2 Phong
uniform bool uScreenQuad;  // the background: positions are already in clip space
out vec3 vPosition;
out vec3 vNormal;
out vec2 vUv;
out vec3 vColor;
out float vDepth;
void main() {
    vUv = aUv;
    if (uScreenQuad) {
        gl_Position = vec4(aPosition.xy, 1.0, 1.0);
        vPosition = vec3(0.0);
        vNormal = vec3(0.0, 0.0, -1.0);
        vColor = vec3(1.0);
        vDepth = 0.0;
        return;
    }
    vec4 world = uModel * vec4(aPosition, 1.0);
    vec4 view = uView * world;
    gl_Position = uProjection * view;
    vPosition = world.xyz;
    vNormal = uNormalMatrix * (uShade == 0 ? aFaceNormal : aNormal);
#if UNLIT || PHONG
    vColor = vec3(0.0);
#else
    vColor = Shade(world.xyz, vNormal);
#endif
    vDepth = view.z;
}
)";

constexpr const char* kFragmentGlsl = R"(
in vec3 vPosition;
in vec3 vNormal;
in vec2 vUv;
in vec3 vColor;
in float vDepth;
uniform int uShade;
uniform bool uTextured;
uniform sampler2D uTexture;
uniform bool uColorKey;
uniform vec3 uKeyColor;
uniform int uFogMode;      // -1 off, 0 linear, 1 exp, 2 exp squared
uniform vec3 uFogColor;
uniform vec3 uFogParams;   // start, end, density
uniform bool uDither;
out vec4 fragColor;

// The 4 x 4 ordered-dither threshold at a pixel, 0..15/16, from the bits of its position.
float Bayer(ivec2 p) {
    int x = p.x & 3, y = p.y & 3, v = x ^ y;
    int m = ((v & 1) << 3) | ((x & 1) << 2) | ((v & 2)) | ((x & 2) >> 1);
    return float(m) / 16.0;
}

void main() {
    vec4 texel = vec4(1.0);
    if (uTextured) {
        texel = texture(uTexture, vUv);
        if (uColorKey && all(lessThan(abs(texel.rgb - uKeyColor), vec3(0.5 / 255.0)))) discard;
    }
#if UNLIT
    vec3 color = texel.rgb;
#elif PHONG
    vec3 color = Shade(vPosition, vNormal) * texel.rgb;
#else
    vec3 color = vColor * texel.rgb;
#endif
    if (uFogMode >= 0) {
        float d = max(vDepth, 0.0);
        float f;
        if (uFogMode == 0) f = clamp((uFogParams.y - d) / max(uFogParams.y - uFogParams.x, 1e-6), 0.0, 1.0);
        else if (uFogMode == 1) f = exp(-uFogParams.z * d);
        else f = exp(-(uFogParams.z * d) * (uFogParams.z * d));
        color = mix(uFogColor, color, f);
    }
    if (uDither) color += (Bayer(ivec2(gl_FragCoord.xy)) - 0.5) / 255.0;
    fragColor = vec4(clamp(color, 0.0, 1.0), 1.0);
}
)";

// The background picture stretched over the viewport: positions are in clip space already.
// A picture is shown as it is, neither lit, fogged nor dithered; this is the cheapest pass a
// textured pixel can take.
constexpr const char* kPictureVertexGlsl = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 3) in vec2 aUv;
out vec2 vUv;
void main() {
    vUv = aUv;
    gl_Position = vec4(aPosition.xy, 1.0, 1.0);
}
)";

constexpr const char* kPictureFragmentGlsl = R"(
in vec2 vUv;
uniform sampler2D uTexture;
out vec4 fragColor;
void main() { fragColor = vec4(texture(uTexture, vUv).rgb, 1.0); }
)";
