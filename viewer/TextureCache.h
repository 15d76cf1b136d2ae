#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace shipfile {
class MessageSink;
struct MessageText;
} // namespace shipfile

namespace viewer {

class ShipView;

/// The textures of the ship faces, loaded from the texture cache file into OpenGL texture
/// objects on first use and kept for the rest of the program (so across ship files too).
/// Names are matched ignoring case. Every call needs the viewer's GL context current.
class TextureCache
{
public:
    explicit TextureCache(std::string texturePath = {});
    TextureCache(const TextureCache&) = delete;
    TextureCache& operator=(const TextureCache&) = delete;

    void setTexturePath(std::string texturePath);
    const std::string& texturePath() const { return m_texturePath; }

    /// Called after a failure has switched textures off; the main window unticks
    /// "Texture Map" here so that the box and the view's flag stay in step.
    std::function<void()> onTexturesDisabled;

    /// The texture object of `name` if it is cached, else 0.
    unsigned int findTexture(std::string_view name) const;
    /// Makes `name` the current 2D texture, loading it first if needed, and sets its filters
    /// from the view. On failure: one message, `view.textureMap` off, onTexturesDisabled, and
    /// 0 is returned with nothing added to the cache.
    unsigned int bind(std::string_view name, ShipView& view, shipfile::MessageSink& sink);
    /// Binds a texture object this cache returned and sets its filters from the view.
    void bindLoaded(unsigned int textureId, const ShipView& view) const;

    std::size_t size() const { return m_textures.size(); }

    /// Drops the texture object of `name`, so that the next draw loads it afresh from the file
    /// (after the texture cache file changed).
    void forget(std::string_view name);

private:
    // Keys are lower-cased names; lookups hash and compare ignoring case, without copies.
    struct NameHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const;
    };
    struct NameEqual
    {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };

    unsigned int fail(const shipfile::MessageText& message, ShipView& view,
                      shipfile::MessageSink& sink);

    std::string m_texturePath;
    /// Texture object ids by name.
    std::unordered_map<std::string, unsigned int, NameHash, NameEqual> m_textures;
};

} // namespace viewer
