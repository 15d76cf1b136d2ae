#include "viewer/TextureCache.h"

#include "gamedata/Tcache.h"
#include "shipfile/CaseInsensitive.h"
#include "shipfile/MessageSink.h"
#include "viewer/Messages.h"
#include "viewer/ShipView.h"

#include <GL/gl.h>
#include <algorithm>
#include <cctype>

namespace viewer {

namespace msg = viewer::messages;

namespace {
void setFilters(const ShipView& view)
{
    const GLint filter = view.highQualityTextures ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
}

// Uploads the picture as a new texture object, left bound; 0 when OpenGL refuses it.
GLuint upload(const gamedata::DecodedTexture& picture, const ShipView& view)
{
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    if (picture.width > maxSide || picture.height > maxSide)
        return 0;

    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    setFilters(view);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, picture.width, picture.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 picture.rgba.data());
    if (id == 0 || glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &id);
        return 0;
    }
    return id;
}
} // namespace

std::size_t TextureCache::NameHash::operator()(std::string_view name) const
{
    // FNV-1a over the lower-cased characters.
    std::size_t hash = 14695981039346656037ull;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(shipfile::lowerCase(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

bool TextureCache::NameEqual::operator()(std::string_view a, std::string_view b) const
{
    return shipfile::equalsIgnoringCase(a, b);
}

TextureCache::TextureCache(std::string texturePath) : m_texturePath(std::move(texturePath)) {}

// Texture objects live as long as the context; the cache lives as long as the program.
void TextureCache::setTexturePath(std::string texturePath)
{
    m_texturePath = std::move(texturePath);
}

unsigned int TextureCache::findTexture(std::string_view name) const
{
    const auto found = m_textures.find(name);
    return found == m_textures.end() ? 0 : found->second;
}

void TextureCache::bindLoaded(unsigned int textureId, const ShipView& view) const
{
    glBindTexture(GL_TEXTURE_2D, textureId);
    setFilters(view);
}

unsigned int TextureCache::bind(std::string_view name, ShipView& view, shipfile::MessageSink& sink)
{
    if (const unsigned int id = findTexture(name)) {
        bindLoaded(id, view);
        return id;
    }

    // A name that is not in the file is looked up afresh each time textures are back on.
    gamedata::TcacheLookup lookup = gamedata::readTcacheTexture(m_texturePath, name);
    if (lookup.failure != gamedata::TcacheFailure::None)
        return fail(gamedata::tcacheFailureMessage(lookup.failure), view, sink);

    const GLuint id = upload(lookup.texture, view);
    if (id == 0)
        return fail(msg::TextureTooLarge, view, sink);

    m_textures.emplace(shipfile::lowerCase(name), id);
    return id;
}

unsigned int TextureCache::fail(const shipfile::MessageText& message, ShipView& view,
                                shipfile::MessageSink& sink)
{
    sink.show(message.box());
    view.textureMap = false;
    if (onTexturesDisabled)
        onTexturesDisabled();
    return 0;
}

} // namespace viewer
