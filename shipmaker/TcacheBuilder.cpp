#include "shipmaker/TcacheBuilder.h"

#include "gamedata/TcacheLayout.h"
#include "shipfile/Bytes.h"

#include <algorithm>
#include <fstream>

namespace shipmaker {

namespace tl = gamedata::tcacheLayout;

TcacheBuilder& TcacheBuilder::add8(const std::string& name, int width, int height,
                                   const std::vector<std::uint8_t>& indexes)
{
    return entry({name, width, height, tl::Format8Bit, indexes, std::nullopt});
}

TcacheBuilder& TcacheBuilder::add16(const std::string& name, int width, int height,
                                    const std::vector<std::uint16_t>& colours)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(colours.size() * 2);
    for (const std::uint16_t c : colours) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return entry({name, width, height, tl::Format16Bit, bytes, std::nullopt});
}

TcacheBuilder& TcacheBuilder::solid16(const std::string& name, int width, int height,
                                      std::uint16_t colour)
{
    const auto pixels = static_cast<std::size_t>(std::max(width, 0)) *
                        static_cast<std::size_t>(std::max(height, 0));
    return add16(name, width, height, std::vector<std::uint16_t>(pixels, colour));
}

TcacheBuilder& TcacheBuilder::entry(TcacheEntry e)
{
    m_entries.push_back(std::move(e));
    return *this;
}

TcacheBuilder& TcacheBuilder::claimCount(std::int32_t count)
{
    m_count = count;
    return *this;
}

TcacheBuilder& TcacheBuilder::truncateTo(std::size_t size)
{
    m_truncateTo = size;
    return *this;
}

std::vector<std::uint8_t> TcacheBuilder::build() const
{
    const std::size_t directoryEnd = tl::Directory + tl::EntrySize * m_entries.size();
    std::vector<std::uint8_t> out(directoryEnd, 0);
    shipfile::writeI32(out, tl::EntryCount,
                       m_count.value_or(static_cast<std::int32_t>(m_entries.size())));

    for (std::size_t k = 0; k < m_entries.size(); ++k) {
        const TcacheEntry& e = m_entries[k];
        const shipfile::MutableBytes entry =
            shipfile::MutableBytes(out).subspan(tl::Directory + tl::EntrySize * k, tl::EntrySize);
        std::fill(entry.begin(), entry.end(), e.filler);
        std::fill_n(entry.begin(), tl::NameSize, 0);
        std::copy_n(e.name.begin(), std::min(e.name.size(), tl::NameSize), entry.begin());
        shipfile::writeI32(entry, tl::Width, e.width);
        shipfile::writeI32(entry, tl::Height, e.height);
        shipfile::writeI32(entry, tl::Format, e.format);
        shipfile::writeU32(entry, tl::PixelOffset,
                           e.pixelOffset.value_or(static_cast<std::uint32_t>(out.size())));
        out.insert(out.end(), e.pixels.begin(), e.pixels.end());
    }
    if (m_truncateTo && *m_truncateTo < out.size())
        out.resize(*m_truncateTo);
    return out;
}

bool TcacheBuilder::write(const std::filesystem::path& path) const
{
    const std::vector<std::uint8_t> image = build();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    return static_cast<bool>(file);
}

} // namespace shipmaker
