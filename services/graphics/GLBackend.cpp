#include "services/graphics/GLBackend.h"

#include <epoxy/gl.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include <glm/gtc/type_ptr.hpp>

namespace graphics {

namespace {

// The quad comes from gl_VertexID (a four-vertex strip), so only instances are streamed.
constexpr const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec4 aPositionRotation;
layout(location = 1) in vec2 aSize;
layout(location = 2) in vec4 aUv;
layout(location = 3) in vec4 aColor;
uniform mat4 uViewProjection;
out vec2 vUv;
out vec4 vColor;
void main() {
    vec2 corner = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1));
    vec2 local = (corner - 0.5) * aSize;
    float c = cos(aPositionRotation.w);
    float s = sin(aPositionRotation.w);
    vec2 turned = vec2(c * local.x - s * local.y, s * local.x + c * local.y);
    gl_Position = uViewProjection * vec4(aPositionRotation.xy + turned, aPositionRotation.z, 1.0);
    vUv = vec2(mix(aUv.x, aUv.z, corner.x), mix(aUv.w, aUv.y, corner.y));
    vColor = aColor;
}
)";

constexpr const char* kFragmentShader = R"(#version 330 core
in vec2 vUv;
in vec4 vColor;
uniform sampler2D uTexture;
out vec4 outColor;
void main() {
    outColor = texture(uTexture, vUv) * vColor;
}
)";

unsigned Compile(GLenum kind, const char* source) {
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        glGetShaderInfoLog(shader, sizeof(log), nullptr, log);
        glDeleteShader(shader);
        throw std::runtime_error(std::string("sprite shader does not compile: ") + log);
    }
    return shader;
}

}  // namespace

GLBackend::GLBackend() {
    const GLuint vs = Compile(GL_VERTEX_SHADER, kVertexShader);
    const GLuint fs = Compile(GL_FRAGMENT_SHADER, kFragmentShader);
    program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) throw std::runtime_error("sprite shader does not link");
    viewProjectionLocation = glGetUniformLocation(program, "uViewProjection");
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "uTexture"), 0);

    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &instanceBuffer);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer);
    for (GLuint i = 0; i < 4; ++i) {
        glEnableVertexAttribArray(i);
        glVertexAttribDivisor(i, 1);
    }
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glActiveTexture(GL_TEXTURE0);
}

GLBackend::~GLBackend() {
    if (!ownedTextures.empty()) {
        glDeleteTextures(static_cast<GLsizei>(ownedTextures.size()), ownedTextures.data());
    }
    glDeleteBuffers(1, &instanceBuffer);
    glDeleteVertexArrays(1, &vertexArray);
    glDeleteProgram(program);
}

TextureHandle GLBackend::CreateTexture(const Image& image) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, image.pixels.data());
    // Pixel art and sheet cells: no blur, no bleeding into the neighbouring cell.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    boundTexture = texture;
    ownedTextures.push_back(texture);
    return texture;
}

void GLBackend::ReplaceTexture(TextureHandle texture, const Image& image) {
    // Same name, new storage: the size may change, and sprites keep the handle they have.
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, image.pixels.data());
    boundTexture = texture;
}

void GLBackend::Upload(std::span<const SpriteInstance> instances) {
    glUseProgram(program);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer);
    const std::size_t bytes = instances.size_bytes();
    if (bytes > bufferCapacity) {
        bufferCapacity = bytes + bytes / 2;
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bufferCapacity), nullptr,
                     GL_STREAM_DRAW);
    } else {
        // Orphan the old storage so the driver need not wait for last frame's draws.
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bufferCapacity), nullptr,
                     GL_STREAM_DRAW);
    }
    if (bytes > 0) {
        glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes), instances.data());
    }
    boundBlend = -1;
}

void GLBackend::SetCamera(const glm::mat4& viewProjection) {
    glUniformMatrix4fv(viewProjectionLocation, 1, GL_FALSE, glm::value_ptr(viewProjection));
}

void GLBackend::Draw(TextureHandle texture, Blend blend, std::size_t first, std::size_t count) {
    if (texture != boundTexture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        boundTexture = texture;
    }
    if (static_cast<int>(blend) != boundBlend) {
        if (blend == Blend::Additive) {
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        } else {
            glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE,
                                GL_ONE_MINUS_SRC_ALPHA);
        }
        boundBlend = static_cast<int>(blend);
    }
    // GL 3.3 has no base instance, so the attributes point at the run's first instance.
    const std::size_t stride = sizeof(SpriteInstance);
    const auto base = static_cast<std::uintptr_t>(first * stride);
    auto at = [&](std::size_t offset) { return reinterpret_cast<const void*>(base + offset); };
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, stride,
                          at(offsetof(SpriteInstance, positionRotation)));
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, at(offsetof(SpriteInstance, size)));
    glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, stride, at(offsetof(SpriteInstance, uv)));
    glVertexAttribPointer(3, 4, GL_FLOAT, GL_FALSE, stride, at(offsetof(SpriteInstance, color)));
    glDrawArraysInstanced(GL_TRIANGLE_STRIP, 0, 4, static_cast<GLsizei>(count));
}

}  // namespace graphics
