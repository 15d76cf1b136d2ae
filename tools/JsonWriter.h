#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tools {

/// Builds one JSON text. Containers go one member per line, indented by two spaces; a compact
/// container, and everything inside it, stays on one line. The caller pairs every begin with its
/// end and writes a key before each member of an object.
class JsonWriter
{
public:
    void beginObject(bool compact = false);
    void endObject();
    void beginArray(bool compact = false);
    void endArray();
    void key(std::string_view name);

    /// Raw bytes, escaped so that the text stays valid UTF-8.
    void string(std::string_view bytes);
    void integer(long long value);
    /// The shortest text that reads back as the same float; NaN and infinities become null.
    void real(float value);
    void boolean(bool value);
    void null();

    const std::string& text() const { return m_out; }

private:
    struct Level
    {
        bool compact = false;
        bool empty = true;
    };

    void beforeValue();
    void begin(char open, bool compact);
    void end(char close);
    void newLine(std::size_t depth);

    std::string m_out;
    std::vector<Level> m_levels;
    bool m_afterKey = false;
};

} // namespace tools
