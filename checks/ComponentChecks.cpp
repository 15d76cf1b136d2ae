#include "checks/Messages.h"
#include "checks/Report.h"
#include "editing/AttachmentProperties.h"
#include "shipfile/CaseInsensitive.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Layout.h"
#include "shipfile/MessageText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <optional>

namespace checks {

namespace {

namespace lay = shipfile::layout;
using shipfile::Bytes;
using shipfile::ShipBlock;
using shipfile::Vec3;
using shipfile::messages::formatNumber;
using shipfile::messages::formatText;

// What the checks read of a component: the parts the editor and the game use, each only when
// it lies in the component's own section (a block borrowed from a later section is checked
// under the component that holds it), and what its section holds.
struct Parts
{
    const ShipBlock* section = nullptr;
    const ShipBlock* attachments = nullptr;
    const ShipBlock* faces = nullptr;
    const ShipBlock* vertices = nullptr;
    const ShipBlock* textures = nullptr;
    const ShipBlock* boxes = nullptr;
    bool sectionHasFaces = false;
    bool sectionHasVertices = false;
    bool animationHeader = false;
    std::vector<const ShipBlock*> frames;
};

Parts partsOf(const shipfile::ComponentParts& found)
{
    Parts parts;
    parts.section = found.section;
    const auto own = [&found](const ShipBlock* b) { return b && found.inSection(b) ? b : nullptr; };
    parts.attachments = own(found.attachments);
    parts.faces = own(found.faces);
    parts.vertices = own(found.vertices);
    parts.textures = own(found.textureNames);
    parts.boxes = found.boxes;
    for (const ShipBlock* b = found.section; b && b != found.sectionEnd; b = b->next()) {
        parts.sectionHasFaces = parts.sectionHasFaces || b->type == lay::type::Faces;
        parts.sectionHasVertices = parts.sectionHasVertices || b->type == lay::type::Vertices;
        parts.animationHeader = parts.animationHeader || b->type == lay::type::AnimationHeader;
        if (b->type == lay::type::AnimationFrames)
            parts.frames.push_back(b);
    }
    return parts;
}

// Fields of records whose size was checked before the loop: plain little-endian loads, as the
// loops over every face and vertex of a large ship cannot afford a bounds check per field.
inline std::uint32_t u32At(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

inline float f32At(const std::uint8_t* p)
{
    return std::bit_cast<float>(u32At(p));
}

inline Vec3 vec3At(const std::uint8_t* p)
{
    return {f32At(p), f32At(p + 4), f32At(p + 8)};
}

// The records of `block` that lie whole in its bytes.
std::size_t wholeRecords(const ShipBlock& block)
{
    return block.recordSize
               ? std::min<std::size_t>(block.count(), block.records().size() / block.recordSize)
               : 0;
}

bool finite(Vec3 v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Whether `count` floats from `offset` are all there and finite.
bool finiteFloats(Bytes record, std::size_t offset, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const auto value = shipfile::readF32(record, offset + 4 * i);
        if (value && !std::isfinite(*value))
            return false;
    }
    return true;
}

using Matrix = std::array<double, 9>; // row-major

std::optional<Matrix> readMatrix(Bytes record, std::size_t offset)
{
    Matrix m{};
    for (std::size_t i = 0; i < 9; ++i) {
        const auto value = shipfile::readF32(record, offset + 4 * i);
        if (!value || !std::isfinite(*value))
            return std::nullopt;
        m[i] = *value;
    }
    return m;
}

double determinant(const Matrix& m)
{
    return m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
           m[2] * (m[3] * m[7] - m[4] * m[6]);
}

// A rotation keeps lengths and right angles and does not mirror: M Mt = I, det M = 1.
bool isRotation(const Matrix& m)
{
    constexpr double Tolerance = 1e-3;
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j) {
            double dot = 0;
            for (std::size_t k = 0; k < 3; ++k)
                dot += m[3 * i + k] * m[3 * j + k];
            if (std::abs(dot - (i == j ? 1.0 : 0.0)) > Tolerance)
                return false;
        }
    return std::abs(determinant(m) - 1.0) <= Tolerance;
}

std::optional<Matrix> inverse(const Matrix& m)
{
    const double det = determinant(m);
    if (!std::isnormal(det))
        return std::nullopt;
    return Matrix{(m[4] * m[8] - m[5] * m[7]) / det, (m[2] * m[7] - m[1] * m[8]) / det,
                  (m[1] * m[5] - m[2] * m[4]) / det, (m[5] * m[6] - m[3] * m[8]) / det,
                  (m[0] * m[8] - m[2] * m[6]) / det, (m[2] * m[3] - m[0] * m[5]) / det,
                  (m[3] * m[7] - m[4] * m[6]) / det, (m[1] * m[6] - m[0] * m[7]) / det,
                  (m[0] * m[4] - m[1] * m[3]) / det};
}

struct Bounds
{
    Vec3 low{INFINITY, INFINITY, INFINITY};
    Vec3 high{-INFINITY, -INFINITY, -INFINITY};
    bool empty() const { return low.x > high.x; }
    void add(Vec3 v)
    {
        low = {std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z)};
        high = {std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z)};
    }
    // Inside the bounds grown on every side by half their largest extent, so that a mount
    // on a flat plate may stand off it.
    bool nearlyHolds(Vec3 v) const
    {
        const float margin = std::max({high.x - low.x, high.y - low.y, high.z - low.z}) / 2;
        return v.x >= low.x - margin && v.x <= high.x + margin && v.y >= low.y - margin &&
               v.y <= high.y + margin && v.z >= low.z - margin && v.z <= high.z + margin;
    }
};

std::string lengthText(double length)
{
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.4g", length);
    return text.data();
}

// The checks of one component, with what they share: its blocks, vertex positions and bounds.
class ComponentCheck
{
public:
    ComponentCheck(Report& report, const shipfile::ComponentParts& parts,
                   const CacheNames* cacheTextures)
        : m_report(report), m_n(parts.index), m_cacheTextures(cacheTextures),
          m_parts(partsOf(parts))
    {
    }

    void run()
    {
        checkRecord();
        checkSection();
        if (m_parts.vertices)
            checkVertices();
        if (m_parts.faces)
            checkFaces();
        if (m_facesRead && m_parts.vertices)
            checkUnusedVertices();
        if (m_parts.textures)
            checkTextures();
        if (m_parts.attachments)
            checkAttachments();
        if (m_parts.boxes)
            checkBoxes();
        for (const ShipBlock* frames : m_parts.frames)
            checkFrames(*frames);
    }

private:
    Finding about(Severity severity, std::string_view check, const std::string_view message) const
    {
        Finding f = m_report.about(m_n, severity, check);
        f.message = message;
        return f;
    }

    Finding aboutBlock(Severity severity, std::string_view check, const ShipBlock& block,
                       Subject subject) const
    {
        Finding f = m_report.about(m_n, severity, check);
        f.block = m_report.blockIndex(block);
        f.subject = subject;
        return f;
    }

    void add(Finding f) { m_report.findings.push_back(std::move(f)); }

    void checkRecord()
    {
        const Bytes record = shipfile::componentRecord(m_report.ship, m_n);
        const auto atRecord = [&](Severity severity, std::string_view check, std::string message) {
            Finding f = about(severity, check, message);
            f.block = m_report.blockIndex(*m_report.ship.componentBlock());
            f.record = static_cast<std::size_t>(m_n);
            add(std::move(f));
        };
        const auto origin = shipfile::readVec3(record, lay::component::Origin);
        if (origin && !finite(*origin))
            atRecord(Severity::Error, messages::NonFinite,
                     std::string(messages::NonFiniteOriginText));

        const std::string name = shipfile::componentName(m_report.ship, m_n);
        if (name.size() > lay::component::NameMaxEdit)
            atRecord(Severity::Warning, messages::ComponentName,
                     formatNumber(messages::NameTooLongText, static_cast<long long>(name.size())));
        if (std::ranges::any_of(name, [](char c) { return c < 0x20 || c > 0x7E; }))
            atRecord(Severity::Warning, messages::ComponentName,
                     std::string(messages::NameCharactersText));
    }

    void checkSection()
    {
        if (!m_parts.section)
            return;
        const auto inSection = [&](std::string_view check, std::string_view message) {
            Finding f = about(Severity::Error, check, message);
            f.block = m_report.blockIndex(*m_parts.section);
            add(std::move(f));
        };
        if (!m_parts.attachments)
            inSection(messages::MissingAttachmentBlock, messages::MissingAttachmentText);
        if (!m_parts.sectionHasVertices)
            inSection(messages::MissingGeometry, messages::MissingVerticesText);
        if (!m_parts.sectionHasFaces)
            inSection(messages::MissingGeometry, messages::MissingFacesText);
        if (!m_parts.frames.empty() && !m_parts.animationHeader) {
            Finding f = about(Severity::Error, messages::FramesWithoutHeader,
                              messages::FramesWithoutHeaderText);
            f.block = m_report.blockIndex(*m_parts.frames.front());
            add(std::move(f));
        }
    }

    void checkVertices()
    {
        const ShipBlock& block = *m_parts.vertices;
        const std::size_t count = shipfile::vertexPositionCount(block);
        m_positions.reserve(count);
        RecordFindings nonFinite(
            m_report, aboutBlock(Severity::Error, messages::NonFinite, block, Subject::Vertices));
        for (std::size_t i = 0; i < count; ++i) {
            const Vec3 v =
                vec3At(block.records().data() + i * block.recordSize + lay::vertex::Position);
            m_positions.push_back(v);
            if (finite(v)) {
                m_bounds.add(v);
                continue;
            }
            m_allFinite = false;
            nonFinite.add(static_cast<std::uint32_t>(i),
                          formatNumber(messages::NonFiniteVertexText, static_cast<long long>(i)));
        }
    }

    void checkFaces()
    {
        const ShipBlock& block = *m_parts.faces;
        const auto findings = [&](Severity severity, std::string_view check) {
            return RecordFindings(m_report, aboutBlock(severity, check, block, Subject::Faces));
        };
        RecordFindings vertexRange = findings(Severity::Error, messages::FaceVertexRange);
        RecordFindings textureRange = findings(Severity::Error, messages::FaceTextureRange);
        RecordFindings nonFinite = findings(Severity::Error, messages::NonFinite);
        RecordFindings degenerate = findings(Severity::Warning, messages::DegenerateFace);
        RecordFindings normalLength = findings(Severity::Warning, messages::NormalLength);

        const std::size_t vertexCount = m_positions.size();
        const std::size_t textureCount = m_parts.textures ? m_parts.textures->count() : 0;
        m_used.assign(vertexCount, false);
        if (block.recordSize < lay::face::Normal + 12)
            return; // too short to read: record-size says so
        m_facesRead = true;
        const std::size_t count = wholeRecords(block);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* face = block.records().data() + i * block.recordSize;
            const auto index = static_cast<std::uint32_t>(i);
            const auto number = static_cast<long long>(i);
            const std::array<std::uint32_t, 3> corners = {u32At(face + lay::face::VertexA),
                                                          u32At(face + lay::face::VertexB),
                                                          u32At(face + lay::face::VertexC)};
            const bool dummy = corners == std::array<std::uint32_t, 3>{};
            const auto outside = std::max({corners[0], corners[1], corners[2]}) < vertexCount
                                     ? corners.end()
                                     : std::ranges::find_if(corners, [&](std::uint32_t c) {
                                           return c >= vertexCount;
                                       });
            if (outside != corners.end())
                vertexRange.add(
                    index, formatNumber(formatNumber(formatNumber(messages::FaceVertexText, number),
                                                     *outside),
                                        static_cast<long long>(vertexCount)));
            const std::uint32_t texture = u32At(face + lay::face::TextureIndex);
            if (texture >= textureCount)
                textureRange.add(
                    index,
                    formatNumber(
                        formatNumber(formatNumber(messages::FaceTextureText, number), texture),
                        static_cast<long long>(textureCount)));

            // The texture coordinates and the normal: nine floats in a row.
            static_assert(lay::face::V == lay::face::U + 12 &&
                          lay::face::Normal == lay::face::V + 12);
            std::array<float, 9> values{};
            bool finiteValues = true;
            for (std::size_t k = 0; k < values.size(); ++k) {
                values[k] = f32At(face + lay::face::U + 4 * k);
                finiteValues = finiteValues && std::isfinite(values[k]);
            }
            if (!finiteValues) {
                nonFinite.add(index, formatNumber(messages::NonFiniteFaceText, number));
            } else {
                const float squared =
                    values[6] * values[6] + values[7] * values[7] + values[8] * values[8];
                // Unit length within 1e-3, compared squared.
                constexpr float Low = (1 - 1e-3f) * (1 - 1e-3f), High = (1 + 1e-3f) * (1 + 1e-3f);
                if (squared != 0 && (squared < Low || squared > High))
                    normalLength.add(index,
                                     formatText(formatNumber(messages::NormalLengthText, number),
                                                lengthText(std::sqrt(double{squared}))));
            }

            if (dummy || outside != corners.end())
                continue;
            for (const std::uint32_t c : corners)
                m_used[c] = 1;
            if (hasNoArea(corners))
                degenerate.add(index, formatNumber(messages::DegenerateFaceText, number));
        }
    }

    // Corners on one line, to the precision of the floats they are stored in. Faces with a
    // corner that is not a number are left to non-finite.
    bool hasNoArea(const std::array<std::uint32_t, 3>& corners) const
    {
        const Vec3 a = m_positions[corners[0]], b = m_positions[corners[1]],
                   c = m_positions[corners[2]];
        // Most faces are plainly not flat, and floats say so far above their rounding error;
        // only the rest, and corners that are not numbers, take the careful way.
        const float fab[3] = {b.x - a.x, b.y - a.y, b.z - a.z};
        const float fac[3] = {c.x - a.x, c.y - a.y, c.z - a.z};
        const float fcross[3] = {fab[1] * fac[2] - fab[2] * fac[1],
                                 fab[2] * fac[0] - fab[0] * fac[2],
                                 fab[0] * fac[1] - fab[1] * fac[0]};
        const float edges = (fab[0] * fab[0] + fab[1] * fab[1] + fab[2] * fab[2]) *
                            (fac[0] * fac[0] + fac[1] * fac[1] + fac[2] * fac[2]);
        if (std::isfinite(edges) &&
            fcross[0] * fcross[0] + fcross[1] * fcross[1] + fcross[2] * fcross[2] > 1e-10f * edges)
            return false;
        if (!finite(a) || !finite(b) || !finite(c))
            return false;
        const double ab[3] = {double{b.x} - a.x, double{b.y} - a.y, double{b.z} - a.z};
        const double ac[3] = {double{c.x} - a.x, double{c.y} - a.y, double{c.z} - a.z};
        const double cross[3] = {ab[1] * ac[2] - ab[2] * ac[1], ab[2] * ac[0] - ab[0] * ac[2],
                                 ab[0] * ac[1] - ab[1] * ac[0]};
        const auto squared = [](const double* v) {
            return v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
        };
        return squared(cross) <= 1e-14 * squared(ab) * squared(ac);
    }

    void checkUnusedVertices()
    {
        Finding f = aboutBlock(Severity::Warning, messages::VertexUnused, *m_parts.vertices,
                               Subject::Vertices);
        for (std::size_t i = 0; i < m_used.size(); ++i)
            if (!m_used[i])
                f.items.push_back(static_cast<std::uint32_t>(i));
        if (f.items.empty())
            return;
        f.record = f.items.front();
        f.message = formatNumber(
            formatNumber(messages::VertexUnusedText, static_cast<long long>(f.items.size())),
            f.items.front());
        add(std::move(f));
    }

    void checkTextures()
    {
        if (!m_cacheTextures)
            return;
        const ShipBlock& block = *m_parts.textures;
        for (std::size_t i = 0; i < block.count(); ++i) {
            const std::string name = shipfile::readString(block.record(i), lay::texture::Name);
            if (m_cacheTextures->contains(shipfile::lowerCase(name)))
                continue;
            Finding f =
                aboutBlock(Severity::Warning, messages::TextureMissing, block, Subject::Component);
            f.record = i;
            f.message = formatText(messages::TextureMissingText, name);
            if (m_parts.faces) {
                f.subject = Subject::Faces;
                f.items = facesWithTexture(static_cast<std::uint32_t>(i));
            }
            add(std::move(f));
        }
    }

    std::vector<std::uint32_t> facesWithTexture(std::uint32_t texture) const
    {
        std::vector<std::uint32_t> faces;
        for (std::size_t i = 0; i < m_parts.faces->count(); ++i)
            if (shipfile::readU32(m_parts.faces->record(i), lay::face::TextureIndex) == texture)
                faces.push_back(static_cast<std::uint32_t>(i));
        return faces;
    }

    void checkAttachments()
    {
        const ShipBlock& block = *m_parts.attachments;
        const auto findings = [&](Severity severity, std::string_view check) {
            return RecordFindings(m_report,
                                  aboutBlock(severity, check, block, Subject::Attachment));
        };
        RecordFindings nonFinite = findings(Severity::Error, messages::NonFinite);
        RecordFindings kind = findings(Severity::Warning, messages::AttachmentKind);
        RecordFindings model = findings(Severity::Warning, messages::AttachmentModel);
        RecordFindings far = findings(Severity::Warning, messages::AttachmentFar);
        RecordFindings matrix = findings(Severity::Warning, messages::AttachmentMatrix);
        if (block.recordSize < lay::attachment::GunIndex + 4)
            return;
        for (std::size_t i = 0; i < block.count(); ++i) {
            const Bytes record = block.record(i);
            const auto index = static_cast<std::uint32_t>(i);
            const auto number = static_cast<long long>(i);
            const Vec3 position = *shipfile::readVec3(record, lay::attachment::Position);
            const auto orientation = readMatrix(record, lay::attachment::Matrix);
            if (!finite(position) || !orientation ||
                !finiteFloats(record, lay::attachment::Size, 3))
                nonFinite.add(index, formatNumber(messages::NonFiniteAttachmentText, number));

            // A kind the game does not know has fields of unknown meaning: only the kind and
            // the numbers are checked.
            const std::int32_t k = *shipfile::readI32(record, lay::attachment::Kind);
            if (k < 0 || k >= lay::AttachmentKindCount) {
                kind.add(index,
                         formatNumber(formatNumber(messages::AttachmentKindText, number), k));
                continue;
            }
            if (const std::int32_t property = editing::propertyIndex(record);
                k != static_cast<std::int32_t>(lay::AttachmentKind::MissileMount) &&
                !editing::highlightedChoice(k, property))
                model.add(index, formatNumber(formatNumber(messages::AttachmentModelText, number),
                                              property));

            if (finite(position) && !m_bounds.empty() && !m_bounds.nearlyHolds(position))
                far.add(index, formatNumber(messages::AttachmentFarText, number));
            if (orientation && !isRotation(*orientation))
                matrix.add(index, formatNumber(messages::AttachmentMatrixText, number));
        }
    }

    void checkBoxes()
    {
        const ShipBlock& block = *m_parts.boxes;
        if (block.recordSize < lay::box::Centre + 12)
            return;
        for (std::size_t i = 0; i < block.count(); ++i) {
            const Bytes record = block.record(i);
            const auto number = static_cast<long long>(i);
            Finding f = aboutBlock(Severity::Error, messages::NonFinite, block, Subject::Box);
            f.record = i;
            const auto orientation = readMatrix(record, lay::box::Matrix);
            const Vec3 half = *shipfile::readVec3(record, lay::box::HalfExtents);
            const Vec3 centre = *shipfile::readVec3(record, lay::box::Centre);
            if (!orientation || !finite(half) || !finite(centre)) {
                f.message = formatNumber(messages::NonFiniteBoxText, number);
                add(std::move(f));
                continue;
            }
            const std::size_t outside = verticesOutside(*orientation, half, centre);
            if (outside == 0)
                continue;
            f.severity = Severity::Warning;
            f.check = messages::BoxNotEnclosing;
            f.message = formatNumber(formatNumber(messages::BoxNotEnclosingText, number),
                                     static_cast<long long>(outside));
            add(std::move(f));
        }
    }

    // A box holds the box-local points within its half-extents; a vertex v is the box-local
    // point M^-1 (v - centre).
    std::size_t verticesOutside(const Matrix& m, Vec3 half, Vec3 centre) const
    {
        const auto toLocal = inverse(m);
        const double h[3] = {std::abs(double{half.x}), std::abs(double{half.y}),
                             std::abs(double{half.z})};
        const double slack = 1e-4 * std::max({1.0, h[0], h[1], h[2]});
        std::size_t outside = 0;
        for (const Vec3 v : m_positions) {
            if (!m_allFinite && !finite(v))
                continue;
            if (!toLocal) {
                ++outside;
                continue;
            }
            const double d[3] = {double{v.x} - centre.x, double{v.y} - centre.y,
                                 double{v.z} - centre.z};
            for (std::size_t row = 0; row < 3; ++row) {
                const double* r = &(*toLocal)[3 * row];
                if (std::abs(r[0] * d[0] + r[1] * d[1] + r[2] * d[2]) > h[row] + slack) {
                    ++outside;
                    break;
                }
            }
        }
        return outside;
    }

    void checkFrames(const ShipBlock& block)
    {
        RecordFindings nonFinite(
            m_report, aboutBlock(Severity::Error, messages::NonFinite, block, Subject::Component));
        for (std::size_t i = 0; i < block.count(); ++i)
            if (!finiteFloats(block.record(i), lay::animationFrame::Rotation, 6))
                nonFinite.add(
                    static_cast<std::uint32_t>(i),
                    formatNumber(messages::NonFiniteFrameText, static_cast<long long>(i)));
    }

    Report& m_report;
    const int m_n;
    const CacheNames* m_cacheTextures;
    const Parts m_parts;
    std::vector<Vec3> m_positions;
    Bounds m_bounds;
    std::vector<std::uint8_t> m_used; // per vertex: named by a face
    bool m_facesRead = false;
    bool m_allFinite = true; // every vertex position is a number
};

} // namespace

void checkComponent(Report& report, const shipfile::ComponentParts& parts,
                    const CacheNames* cacheTextures)
{
    ComponentCheck(report, parts, cacheTextures).run();
}

} // namespace checks
