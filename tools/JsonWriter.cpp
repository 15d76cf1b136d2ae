#include "tools/JsonWriter.h"

#include "tools/Escaping.h"

#include <array>
#include <cassert>
#include <charconv>
#include <cmath>

namespace tools {

void JsonWriter::beginObject(bool compact)
{
    begin('{', compact);
}

void JsonWriter::endObject()
{
    end('}');
}

void JsonWriter::beginArray(bool compact)
{
    begin('[', compact);
}

void JsonWriter::endArray()
{
    end(']');
}

void JsonWriter::key(std::string_view name)
{
    beforeValue();
    m_out += jsonQuoted(name);
    m_out += ": ";
    m_afterKey = true;
}

void JsonWriter::string(std::string_view bytes)
{
    beforeValue();
    m_out += jsonQuoted(bytes);
}

void JsonWriter::integer(long long value)
{
    beforeValue();
    m_out += std::to_string(value);
}

void JsonWriter::real(float value)
{
    beforeValue();
    if (!std::isfinite(value)) {
        m_out += "null";
        return;
    }
    // Many readers take "-0" for the integer 0; "-0.0" keeps the sign bit through them.
    if (value == 0.0f && std::signbit(value)) {
        m_out += "-0.0";
        return;
    }
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    m_out.append(buffer.data(), result.ptr);
}

void JsonWriter::boolean(bool value)
{
    beforeValue();
    m_out += value ? "true" : "false";
}

void JsonWriter::null()
{
    beforeValue();
    m_out += "null";
}

void JsonWriter::beforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_levels.empty())
        return;
    Level& level = m_levels.back();
    if (!level.empty)
        m_out += level.compact ? ", " : ",";
    if (!level.compact)
        newLine(m_levels.size());
    level.empty = false;
}

void JsonWriter::begin(char open, bool compact)
{
    beforeValue();
    const bool insideCompact = !m_levels.empty() && m_levels.back().compact;
    m_levels.push_back(Level{compact || insideCompact, true});
    m_out.push_back(open);
}

void JsonWriter::end(char close)
{
    assert(!m_levels.empty() && !m_afterKey);
    const Level level = m_levels.back();
    m_levels.pop_back();
    if (!level.empty && !level.compact)
        newLine(m_levels.size());
    m_out.push_back(close);
}

void JsonWriter::newLine(std::size_t depth)
{
    m_out.push_back('\n');
    m_out.append(2 * depth, ' ');
}

} // namespace tools
